#include "platform/posix/errno_text.h"

#include <cerrno>

namespace kw::posix {

std::string GermanErrnoText(int error) {
    switch (error) {
        case EACCES:
        case EPERM:
            return "Zugriff verweigert";
        case ENOENT:
            return "Datei oder Verzeichnis nicht gefunden";
        case ENOTDIR:
            return "ein Teil des Pfades ist kein Verzeichnis";
        case EEXIST:
            return "existiert bereits";
        case ENAMETOOLONG:
            return "Pfad zu lang";
        case ELOOP:
            return "zu viele symbolische Verweise";
        case ENOSPC:
            return "kein Platz mehr auf dem Gerät";
        case EROFS:
            return "Dateisystem nur lesbar";
        case EIO:
            return "Ein-/Ausgabefehler";
        case ENOMEM:
        case ENOBUFS:
            return "nicht genügend Speicher";
        case EMFILE:
        case ENFILE:
            return "zu viele offene Dateien";
        case EADDRINUSE:
            return "Adresse wird bereits verwendet";
        case ECONNREFUSED:
            return "Verbindung abgelehnt";
        case EAGAIN:
            return "Zeitüberschreitung";
        case EINVAL:
            return "ungültiges Argument";
        default:
            return "Systemfehler " + std::to_string(error);
    }
}

}  // namespace kw::posix
