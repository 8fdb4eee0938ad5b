// klingelwart-ring CALLER CALLED
//
// Run by the softphone for an incoming call: hands the two numbers, exactly as given, to the
// running Klingelwart over the user's local socket and exits. Exit status 0 when the call was
// handed over, 1 when nobody takes it (Klingelwart not running, not answering, no private
// directory), 2 for a wrong call of this tool (argument count, numbers too long).

#include <sys/socket.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "core/ring_message.h"
#include "platform/posix/errno_text.h"
#include "platform/posix/runtime_directory.h"
#include "platform/posix/unique_fd.h"

namespace {

constexpr int kHandedOver = 0;
constexpr int kNotTaken = 1;
constexpr int kWrongCall = 2;

// How long a Klingelwart too busy to take the connection is waited for.
constexpr time_t kTimeoutSeconds = 5;

int Say(std::string_view text, int status) {
    std::string line = "klingelwart-ring: ";
    line.append(text);
    line.push_back('\n');
    std::fwrite(line.data(), 1, line.size(), stderr);
    return status;
}

int Send(const std::string& path, const std::string& message) {
    using kw::posix::GermanErrnoText;
    using kw::posix::UniqueFd;
    UniqueFd fd(::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0));
    if (!fd) {
        return Say("Anruf kann nicht gemeldet werden: " + GermanErrnoText(errno) + ".", kNotTaken);
    }
    const timeval timeout{kTimeoutSeconds, 0};
    ::setsockopt(fd.get(), SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);

    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    int result = 0;
    do {
        result = ::connect(fd.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address);
    } while (result != 0 && errno == EINTR);
    if (result != 0) {
        const int cause = errno;
        if (cause == ENOENT || cause == ECONNREFUSED) {
            return Say("Klingelwart läuft nicht: niemand wartet auf Anrufe unter " + path + ".",
                       kNotTaken);
        }
        if (cause == EAGAIN || cause == ETIMEDOUT || cause == EINPROGRESS) {
            return Say("Klingelwart antwortet nicht: " + path + " nimmt keinen Anruf an.",
                       kNotTaken);
        }
        return Say(
            "Anruf kann nicht an " + path + " gemeldet werden: " + GermanErrnoText(cause) + ".",
            kNotTaken);
    }
    ssize_t sent = 0;
    do {
        sent = ::send(fd.get(), message.data(), message.size(), MSG_NOSIGNAL);
    } while (sent < 0 && errno == EINTR);
    if (sent < 0 || static_cast<std::size_t>(sent) != message.size()) {
        const int cause = sent < 0 ? errno : EIO;
        if (cause == EAGAIN) {
            return Say("Klingelwart antwortet nicht: " + path + " nimmt keinen Anruf an.",
                       kNotTaken);
        }
        return Say(
            "Anruf kann nicht an " + path + " gemeldet werden: " + GermanErrnoText(cause) + ".",
            kNotTaken);
    }
    return kHandedOver;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs(
            "Aufruf: klingelwart-ring ANRUFER ANGERUFENE_NUMMER\n"
            "Meldet dem laufenden Klingelwart einen Anruf von ANRUFER auf der Leitung\n"
            "ANGERUFENE_NUMMER. Beide Texte werden genau so übergeben, wie sie ankommen.\n",
            stderr);
        return kWrongCall;
    }
    const std::string_view caller(argv[1]);
    const std::string_view called(argv[2]);
    if (!kw::FitsRingMessage(caller, called)) {
        return Say("Die Nummern sind zu lang (zusammen höchstens " +
                       std::to_string(kw::kMaxRingMessage - kw::kRingHeaderSize) +
                       " Bytes); der Anruf wird nicht gemeldet.",
                   kWrongCall);
    }
    kw::Result<std::string> directory = kw::posix::PrivateRuntimeDirectory();
    if (!directory.ok()) {
        return Say(directory.failure().description, kNotTaken);
    }
    const std::string path = kw::posix::PhoneSocketPath(directory.value());
    if (path.size() > kw::posix::kMaxSocketPathLength) {
        return Say("Der Pfad " + path + " ist zu lang für eine lokale Verbindung.", kNotTaken);
    }
    return Send(path, kw::EncodeRing(caller, called));
}
