#include "platform/qt/ini_settings_store.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QByteArrayView>
#include <QFile>
#include <QLockFile>
#include <QSettings>
#include <QString>
#include <QStringDecoder>
#include <QStringList>
#include <QVariant>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <map>
#include <new>
#include <system_error>
#include <utility>
#include <vector>

#include "core/error_numbers.h"
#include "platform/posix/unique_fd.h"
#include "platform/posix/write_all.h"

namespace kw::qt {
namespace {

namespace fs = std::filesystem;
using posix::UniqueFd;
using posix::WriteAll;

constexpr std::chrono::seconds kLockWait{5};
constexpr int kMaxBackups = 1000;
constexpr std::size_t kReadChunk = std::size_t{64} * 1024;

Failure FailureFor(int err) {
    const bool denied = err == EACCES || err == EPERM || err == EROFS;
    return MakeFailure(denied ? error::kAccessDenied : error::kPathFileAccess);
}

QString QtPath(const fs::path& path) {
    return QFile::decodeName(path.c_str());
}

struct Loaded {
    enum Kind { Read, Missing, NotAFile, TooLarge, Failed } kind;
    int error = 0;
};

// Only a regular file is read, and only up to the cap: a FIFO would wait for a writer forever, a
// device or a huge file would never end or eat the memory.
Loaded ReadAll(const fs::path& path, std::string& out) {
    out.clear();
    const UniqueFd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (fd.get() < 0) {
        return {errno == ENOENT ? Loaded::Missing : Loaded::Failed, errno};
    }
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0) {
        return {Loaded::Failed, errno};
    }
    if (!S_ISREG(info.st_mode)) {
        return {Loaded::NotAFile};
    }
    if (static_cast<std::uintmax_t>(info.st_size) > IniSettingsStore::kMaxFileBytes) {
        return {Loaded::TooLarge};
    }
    std::vector<char> buffer(kReadChunk);
    for (;;) {
        const ssize_t n = ::read(fd.get(), buffer.data(), buffer.size());
        if (n == 0) {
            return {Loaded::Read};
        }
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return {Loaded::Failed, errno};
        }
        out.append(buffer.data(), static_cast<std::size_t>(n));
        if (out.size() > IniSettingsStore::kMaxFileBytes) {  // grew while being read
            out.clear();
            return {Loaded::TooLarge};
        }
    }
}

int CopyTo(const fs::path& backup, std::string_view bytes) {
    const UniqueFd fd(::open(backup.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
    if (fd.get() < 0) {
        return errno;
    }
    int err = WriteAll(fd.get(), bytes);
    if (err == 0 && ::fsync(fd.get()) != 0) {
        err = errno;
    }
    if (err != 0) {
        ::unlink(backup.c_str());
    }
    return err;
}

// Mode 0700: the options may name databases and commands, nobody else needs to see them.
int MakeDirectories(const fs::path& directory) {
    if (directory.empty()) {
        return 0;
    }
    struct stat info {};
    if (::stat(directory.c_str(), &info) == 0) {
        return S_ISDIR(info.st_mode) ? 0 : ENOTDIR;
    }
    if (errno != ENOENT) {
        return errno;
    }
    if (const int err = MakeDirectories(directory.parent_path()); err != 0) {
        return err;
    }
    if (::mkdir(directory.c_str(), 0700) == 0) {
        return 0;
    }
    const int err = errno;
    if (err == EEXIST && ::stat(directory.c_str(), &info) == 0) {
        return S_ISDIR(info.st_mode) ? 0 : ENOTDIR;
    }
    return err;
}

// The rename is atomic already; this only makes it survive a power cut.
void SyncDirectory(const fs::path& directory) {
    const UniqueFd fd(
        ::open(directory.empty() ? "." : directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.get() >= 0) {
        ::fsync(fd.get());
    }
}

// A private copy for QSettings to parse or write. Qt caches parsed files process-wide by path and
// trusts an unchanged size and millisecond time stamp, so a change made by another process within
// the same clock tick would go unseen; a fresh name per operation never hits that cache.
class ScratchFile {
  public:
    ScratchFile(const fs::path& directory, const fs::path& file, std::string_view bytes) {
        std::string name = (directory / ("." + file.filename().string() + ".XXXXXX")).string();
        const UniqueFd fd(::mkostemp(name.data(), O_CLOEXEC));
        if (fd.get() < 0) {
            error_ = errno;
            return;
        }
        path_ = name;
        error_ = WriteAll(fd.get(), bytes);
    }
    ~ScratchFile() {
        if (!path_.empty()) {
            ::unlink(path_.c_str());
        }
    }
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

    int error() const { return error_; }
    const fs::path& path() const { return path_; }
    void release() { path_.clear(); }

  private:
    fs::path path_;
    int error_ = 0;
};

bool QuotesCloseOnTheirLine(std::string_view bytes) {
    bool quoted = false;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '\n' || c == '\r') {
            if (quoted) {
                return false;
            }
        } else if (c == ';' && !quoted) {
            // A comment to the end of the line; quotes in it count for nothing.
            while (i + 1 < bytes.size() && bytes[i + 1] != '\n' && bytes[i + 1] != '\r') {
                ++i;
            }
        } else if (c == '\\') {
            // An escaped character, or a line continuation written as backslash and line break.
            ++i;
            if (i + 1 < bytes.size() && ((bytes[i] == '\r' && bytes[i + 1] == '\n') ||
                                         (bytes[i] == '\n' && bytes[i + 1] == '\r'))) {
                ++i;
            }
        } else if (c == '"') {
            quoted = !quoted;
        }
    }
    return !quoted;
}

// QSettings writes a file anew from its keys: comments, also those after a value, and every
// repeated key but one are gone. Blank lines and spacing are only layout.
bool RewriteDropsLines(std::string_view bytes, std::size_t keys) {
    std::size_t keyLines = 0;
    bool continued = false;
    while (!bytes.empty()) {
        const std::size_t end = std::min(bytes.find('\n'), bytes.size());
        std::string_view line = bytes.substr(0, end);
        bytes.remove_prefix(std::min(end + 1, bytes.size()));
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        const bool continuation = continued;
        std::size_t trailing = 0;
        while (trailing < line.size() && line[line.size() - 1 - trailing] == '\\') {
            ++trailing;
        }
        continued = trailing % 2 == 1;
        const std::size_t first = line.find_first_not_of(" \t");
        if (continuation || first == std::string_view::npos) {
            continue;
        }
        bool quoted = false;
        for (std::size_t i = first; i < line.size(); ++i) {
            if (line[i] == '\\') {
                ++i;
            } else if (line[i] == '"') {
                quoted = !quoted;
            } else if (line[i] == ';' && !quoted) {
                return true;
            }
        }
        if (line[first] != '[') {
            ++keyLines;
        }
    }
    return keyLines > keys;
}

// What QSettings reads without complaint yet would lose on rewriting: NUL bytes, invalid UTF-8
// (decoded to replacement characters) and a quote left open, which swallows the following lines
// into one value. A file QSettings wrote contains none of them.
bool LooksIntact(std::string_view bytes) {
    if (bytes.find('\0') != std::string_view::npos) {
        return false;
    }
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString decoded =
        utf8(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    return !utf8.hasError() && QuotesCloseOnTheirLine(bytes);
}

std::string TextOf(const QVariant& value) {
    switch (value.typeId()) {
        case QMetaType::QString:
            return value.toString().toStdString();
        case QMetaType::QStringList:
            // An unquoted "a, b" written by hand parses as a list; QSettings itself joins lists
            // with ", ", so this restores the common case exactly.
            return value.toStringList().join(QStringLiteral(", ")).toStdString();
        case QMetaType::QVariantList: {
            // A list with an element that starts with "@", which QSettings itself writes for an
            // element holding a NUL: joined like a list of strings, element by element.
            std::string joined;
            const QVariantList elements = value.toList();
            for (qsizetype i = 0; i < elements.size(); ++i) {
                joined += (i == 0 ? "" : ", ") + TextOf(elements[i]);
            }
            return joined;
        }
        case QMetaType::QByteArray:
            return QString::fromUtf8(value.toByteArray()).toStdString();
        default:
            return value.canConvert<QString>() ? value.toString().toStdString() : std::string();
    }
}

QString KeyPath(std::string_view section, std::string_view key) {
    QString name = QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size()));
    if (section.empty()) {
        return name;
    }
    return QString::fromUtf8(section.data(), static_cast<qsizetype>(section.size())) + u'/' + name;
}

// Writing through a symbolic link replaces the file it points to, not the link.
fs::path Resolved(const fs::path& file) {
    std::error_code ec;
    if (fs::is_symlink(file, ec)) {
        fs::path real = fs::canonical(file, ec);
        if (!ec) {
            return real;
        }
    }
    return file;
}

constexpr char kDamagedSuffix[] = ".beschaedigt";
constexpr char kRewrittenSuffix[] = ".bak";

fs::path BackupName(const fs::path& file, std::string_view suffix, int number) {
    fs::path name = file;
    name += suffix;
    if (number > 1) {
        name += "." + std::to_string(number);
    }
    return name;
}

fs::path HomeDirectory() {
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
        return home;
    }
    std::vector<char> buffer(4096);
    passwd entry{};
    passwd* found = nullptr;
    while (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == ERANGE) {
        buffer.resize(buffer.size() * 2);
    }
    return found != nullptr && found->pw_dir != nullptr ? fs::path(found->pw_dir) : fs::path();
}

}  // namespace

struct IniSettingsStore::Impl {
    std::string application;
    fs::path file;
    fs::path lastBackup;
    // The last parse, reused while the file holds the same bytes: a load reads seven keys, and
    // each parse costs a private copy of the file.
    std::string parsedBytes;
    std::map<QString, std::string> parsedValues;
    bool parsed = false;

    std::string read(const QString& key);
    MaybeFailure write(const std::vector<std::pair<QString, QString>>& values);
    // `make` creates the backup at a path, or returns the errno; EEXIST moves on to the next.
    MaybeFailure keepBackup(std::string_view suffix,
                            const std::function<int(const fs::path&)>& make);
};

std::string IniSettingsStore::Impl::read(const QString& key) {
    std::string bytes;
    if (ReadAll(file, bytes).kind != Loaded::Read || bytes.empty()) {
        return {};
    }
    if (!parsed || bytes != parsedBytes) {
        std::error_code ec;
        const fs::path temp = fs::temp_directory_path(ec);
        const ScratchFile copy(ec ? fs::path("/tmp") : temp, file, bytes);
        if (copy.error() != 0) {
            // Possibly an older parse of the file (see ScratchFile), but better than nothing.
            QSettings direct(QtPath(file), QSettings::IniFormat);
            direct.setFallbacksEnabled(false);
            return TextOf(direct.value(key));
        }
        QSettings settings(QtPath(copy.path()), QSettings::IniFormat);
        settings.setFallbacksEnabled(false);
        parsedValues.clear();
        for (const QString& name : settings.allKeys()) {
            parsedValues.emplace(name, TextOf(settings.value(name)));
        }
        parsedBytes = std::move(bytes);
        parsed = true;
    }
    const auto found = parsedValues.find(key);
    return found == parsedValues.end() ? std::string() : found->second;
}

MaybeFailure IniSettingsStore::Impl::write(const std::vector<std::pair<QString, QString>>& values) {
    const fs::path target = Resolved(file);
    const fs::path directory = target.parent_path();
    if (const int err = MakeDirectories(directory); err != 0) {
        return FailureFor(err);
    }

    // The lock QSettings takes too, so two writers cannot lose each other's changes. QLockFile
    // reads a lock file it finds, which would hang on a FIFO.
    const fs::path lockPath = fs::path(file) += ".lock";
    struct stat lockInfo {};
    if (::lstat(lockPath.c_str(), &lockInfo) == 0 && !S_ISREG(lockInfo.st_mode)) {
        return MakeFailure(error::kPathFileAccess);
    }
    QLockFile lock(QtPath(lockPath));
    if (!lock.tryLock(kLockWait)) {
        return MakeFailure(lock.error() == QLockFile::PermissionError ? error::kAccessDenied
                                                                      : error::kPathFileAccess);
    }

    std::string old;
    const Loaded loaded = ReadAll(target, old);
    if (loaded.kind == Loaded::Failed) {
        return FailureFor(loaded.error);
    }
    if (loaded.kind == Loaded::NotAFile) {
        return MakeFailure(error::kPathFileAccess);
    }
    mode_t mode = 0600;
    if (loaded.kind != Loaded::Missing) {
        // A file made read-only says keep it; the rename below would not ask.
        struct stat info {};
        if (::stat(target.c_str(), &info) != 0 || ::access(target.c_str(), W_OK) != 0) {
            return FailureFor(errno);
        }
        mode = info.st_mode & 07777;
    }
    if (loaded.kind == Loaded::TooLarge) {
        // Too large to copy; a second name for it is enough, as the rename below only unlinks.
        auto failure = keepBackup(kDamagedSuffix, [&](const fs::path& backup) {
            return ::link(target.c_str(), backup.c_str()) == 0 ? 0 : errno;
        });
        if (failure) {
            return failure;
        }
    }

    const ScratchFile copy(directory, target, old);
    if (copy.error() != 0) {
        return FailureFor(copy.error());
    }
    QSettings current(QtPath(copy.path()), QSettings::IniFormat);
    current.setFallbacksEnabled(false);
    // Sections are parsed lazily; listing every key makes status() judge the whole file.
    const QStringList keys = current.allKeys();
    const auto copyOld = [&old](const fs::path& backup) { return CopyTo(backup, old); };
    const bool damaged = current.status() != QSettings::NoError || !LooksIntact(old);
    if (damaged || RewriteDropsLines(old, static_cast<std::size_t>(keys.size()))) {
        if (auto failure = keepBackup(damaged ? kDamagedSuffix : kRewrittenSuffix, copyOld)) {
            return failure;
        }
    }

    // Written into an empty file rather than over the copy: after a FormatError on reading,
    // status() would no longer tell whether the write failed.
    ScratchFile next(directory, target, {});
    if (next.error() != 0) {
        return FailureFor(next.error());
    }
    {
        QSettings updated(QtPath(next.path()), QSettings::IniFormat);
        updated.setFallbacksEnabled(false);
        updated.setAtomicSyncRequired(true);
        for (const QString& existing : keys) {
            updated.setValue(existing, current.value(existing));
        }
        for (const auto& [key, value] : values) {
            updated.setValue(key, value);
        }
        updated.sync();
        if (updated.status() != QSettings::NoError) {
            return MakeFailure(error::kPathFileAccess);
        }
    }
    if (::chmod(next.path().c_str(), mode) != 0 ||
        ::rename(next.path().c_str(), target.c_str()) != 0) {
        return FailureFor(errno);
    }
    next.release();
    SyncDirectory(directory);
    return std::nullopt;
}

// Never overwrites an earlier backup: that one may hold the only copy of older damage.
MaybeFailure IniSettingsStore::Impl::keepBackup(std::string_view suffix,
                                                const std::function<int(const fs::path&)>& make) {
    for (int number = 1; number <= kMaxBackups; ++number) {
        const fs::path candidate = BackupName(file, suffix, number);
        const int err = make(candidate);
        if (err == EEXIST) {
            continue;
        }
        if (err != 0) {
            return FailureFor(err);
        }
        lastBackup = candidate;
        return std::nullopt;
    }
    return MakeFailure(error::kPathFileAccess);
}

IniSettingsStore::IniSettingsStore(std::string application, std::filesystem::path file)
    : impl_(std::make_unique<Impl>(Impl{std::move(application), std::move(file), {}})) {}

IniSettingsStore::~IniSettingsStore() = default;

std::string IniSettingsStore::read(std::string_view application, std::string_view section,
                                   std::string_view key) {
    if (application != impl_->application || key.empty()) {
        return {};
    }
    try {
        return impl_->read(KeyPath(section, key));
    } catch (...) {
        return {};
    }
}

MaybeFailure IniSettingsStore::writeAll(std::string_view application, std::string_view section,
                                        std::span<const platform::SettingsValue> values) {
    if (application != impl_->application) {
        return MakeFailure(error::kInvalidCall);
    }
    try {
        std::vector<std::pair<QString, QString>> named;
        named.reserve(values.size());
        for (const platform::SettingsValue& entry : values) {
            if (entry.key.empty()) {
                return MakeFailure(error::kInvalidCall);
            }
            named.emplace_back(
                KeyPath(section, entry.key),
                QString::fromUtf8(entry.value.data(), static_cast<qsizetype>(entry.value.size())));
        }
        if (named.empty()) {
            return std::nullopt;
        }
        return impl_->write(named);
    } catch (const std::bad_alloc&) {
        return MakeFailure(error::kOutOfMemory);
    } catch (...) {
        return MakeFailure(error::kInternal);
    }
}

std::filesystem::path IniSettingsStore::defaultPath(std::string_view application) {
    fs::path base;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && *xdg != '\0') {
        base = xdg;
    }
    if (!base.is_absolute()) {
        base = HomeDirectory() / ".config";
    }
    return base / (std::string(application) + ".conf");
}

std::filesystem::path IniSettingsStore::backupPath() const {
    if (!impl_->lastBackup.empty()) {
        return impl_->lastBackup;
    }
    for (int number = 1; number <= kMaxBackups; ++number) {
        struct stat info {};
        fs::path candidate = BackupName(impl_->file, kDamagedSuffix, number);
        if (::lstat(candidate.c_str(), &info) != 0 && errno == ENOENT) {
            return candidate;
        }
    }
    return BackupName(impl_->file, kDamagedSuffix, kMaxBackups);
}

}  // namespace kw::qt
