#include "platform/posix/errno_text.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>

namespace kw::posix {
namespace {

TEST(ErrnoText, GivesANumberWithCoreTextAndAGermanDetail) {
    const struct {
        int error;
        std::int32_t number;
        std::string detail;
    } cases[] = {
        {EACCES, 70, "Zugriff verweigert"},
        {EROFS, 70, "Dateisystem nur lesbar"},
        // A missing file here is a path, never 53, which would say the program was not found.
        {ENOENT, 76, "Datei oder Verzeichnis nicht gefunden"},
        {ENAMETOOLONG, 76, "Pfad zu lang"},
        {ENOSPC, 61, "kein Platz mehr auf dem Gerät"},
        {ENOMEM, 7, "nicht genügend Speicher"},
        {ECONNREFUSED, 75, "Verbindung abgelehnt"},
        {0, 75, "Systemfehler 0"},
        {-1, 75, "Systemfehler -1"},
        {123456, 75, "Systemfehler 123456"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ErrorNumberFromErrno(c.error), c.number) << c.error;
        EXPECT_EQ(GermanErrnoText(c.error), c.detail) << c.error;
    }
    EXPECT_EQ(ErrorNumberFromErrno(EEXIST, error::kInternal), error::kInternal);
    EXPECT_EQ(ErrorNumberFromErrno(EACCES, error::kInternal), error::kAccessDenied);
}

}  // namespace
}  // namespace kw::posix
