#include "ui/console/console_main_screen.h"

#include <istream>
#include <ostream>

namespace kw::console {

ConsoleMainScreen::ConsoleMainScreen(platform::SettingsStore& store, CallActionPlatform& platform,
                                     std::istream& in, std::ostream& out)
    : store_(store), platform_(platform), in_(in), out_(out) {}

void ConsoleMainScreen::setCallerLine(std::string_view text) {
    callerLine_ = text;
}

void ConsoleMainScreen::setActionEnabled(bool enabled) {
    actionEnabled_ = enabled;
}

void ConsoleMainScreen::run() {
    LoadOptions(store_, options_);
    out_ << "Klingelwart (Version 2.0.0) - Textmodus\n"
            "Die Fenster (Hauptfenster, Optionen, Info) und die Anbindung an das Softphone\n"
            "folgen im nächsten Schritt. Bis dahin hier die Befehle:\n"
            "  anruf      einen Anruf melden (Anrufer und Leitung werden abgefragt)\n"
            "  start      die Aktion ausführen ("
         << (options_.DoJob ? "&Anwendung starten" : "&Anrufer-Info anzeigen")
         << ")\n"
            "  löschen    das Anruferfeld löschen\n"
            "  optionen   die gespeicherten Optionen neu lesen und zeigen\n"
            "  ende       beenden\n";
    showState();
    std::string command;
    while (out_ << "> " << std::flush, std::getline(in_, command)) {
        if (command == "anruf") {
            signalCall();
        } else if (command == "start") {
            if (actionEnabled_) {
                RunCallAction(options_, call_, platform_);
            } else {
                out_ << "Die Aktion ist erst nach einem Anruf möglich.\n";
            }
        } else if (command == "löschen") {
            ClearCall(call_, *this);
        } else if (command == "optionen") {
            showOptions();
        } else if (command == "ende") {
            if (confirmExit()) {
                return;
            }
        } else if (!command.empty()) {
            out_ << "Unbekannter Befehl.\n";
        }
        showState();
    }
}

void ConsoleMainScreen::showState() {
    out_ << "[" << callerLine_ << "]  Aktion " << (actionEnabled_ ? "bereit" : "gesperrt") << "\n";
}

void ConsoleMainScreen::signalCall() {
    std::string caller;
    std::string called;
    out_ << "Anrufer: " << std::flush;
    if (!std::getline(in_, caller)) {
        return;
    }
    out_ << "Leitung: " << std::flush;
    if (!std::getline(in_, called)) {
        return;
    }
    IncomingCall(call_, *this, caller, called);
}

void ConsoleMainScreen::showOptions() {
    LoadOptions(store_, options_);
    out_ << "DoJob=" << options_.DoJob << " Formatierung=" << options_.Formatierung
         << " Start=" << options_.Start << " Parameter=" << options_.Parameter << "\n"
         << "Database=[" << options_.Database << "]\nProcedure=[" << options_.Procedure
         << "]\nShell=[" << options_.Shell << "]\n";
}

bool ConsoleMainScreen::confirmExit() {
    return platform_.messages.show("Möchten Sie die Anwendung tatsächlich beenden ?",
                                   "Klingelwart beenden", platform::MessageIcon::Question,
                                   platform::MessageButtons::YesNo) == platform::MessageAnswer::Yes;
}

}  // namespace kw::console
