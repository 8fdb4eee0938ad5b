#include "core/messages.h"

namespace kw {

std::string ShellErrorText(std::string_view command) {
    std::string text =
        "Bitte prüfen Sie unter Optionen den von Ihnen eingegebenen Shell-Befehl und ggf. die "
        "übergebenen Parameter.";
    text += kCrLf;
    text += kCrLf;
    text += "'";
    text += command;
    text += "'";
    text += kCrLf;
    text += kCrLf;
    text += "konnte von Ihrem Betriebssystem nicht verarbeitet werden.";
    return text;
}

std::string FailureText(const Failure& failure) {
    std::string text = "Fehler-Nummer " + std::to_string(failure.number);
    text += kCrLf;
    text += kCrLf;
    text += failure.description;
    return text;
}

}  // namespace kw
