#include "platform/posix/errno_text.h"

#include <cerrno>
#include <string_view>

namespace kw::posix {

namespace {

struct ErrnoEntry {
    int error;
    std::int32_t number;  // 0: the caller's choice
    std::string_view text;
};

constexpr ErrnoEntry kErrnos[] = {
    {EACCES, error::kAccessDenied, "Zugriff verweigert"},
    {EPERM, error::kAccessDenied, "Zugriff verweigert"},
    {EROFS, error::kAccessDenied, "Dateisystem nur lesbar"},
    {ENOENT, error::kPathNotFound, "Datei oder Verzeichnis nicht gefunden"},
    {ENOTDIR, error::kPathNotFound, "ein Teil des Pfades ist kein Verzeichnis"},
    {ENAMETOOLONG, error::kPathNotFound, "Pfad zu lang"},
    {EEXIST, 0, "existiert bereits"},
    {ELOOP, 0, "zu viele symbolische Verweise"},
    {ENOSPC, error::kDiskFull, "kein Platz mehr auf dem Gerät"},
    {EDQUOT, error::kDiskFull, "Speicherkontingent erschöpft"},
    {EFBIG, error::kDiskFull, "Datei zu groß"},
    {EIO, error::kDeviceIo, "Ein-/Ausgabefehler"},
    {ENOMEM, error::kOutOfMemory, "nicht genügend Speicher"},
    {ENOBUFS, error::kOutOfMemory, "nicht genügend Speicher"},
    {EMFILE, 0, "zu viele offene Dateien"},
    {ENFILE, 0, "zu viele offene Dateien"},
    {EADDRINUSE, 0, "Adresse wird bereits verwendet"},
    {ECONNREFUSED, 0, "Verbindung abgelehnt"},
    {EAGAIN, 0, "Zeitüberschreitung"},
    {EINVAL, error::kInvalidCall, "ungültiges Argument"},
};

const ErrnoEntry* Find(int error) {
    for (const ErrnoEntry& entry : kErrnos) {
        if (entry.error == error) {
            return &entry;
        }
    }
    return nullptr;
}

}  // namespace

std::int32_t ErrorNumberFromErrno(int error, std::int32_t otherwise) {
    const ErrnoEntry* entry = Find(error);
    return entry != nullptr && entry->number != 0 ? entry->number : otherwise;
}

std::string GermanErrnoText(int error) {
    const ErrnoEntry* entry = Find(error);
    return entry != nullptr ? std::string(entry->text) : "Systemfehler " + std::to_string(error);
}

}  // namespace kw::posix
