#include "app/klingelwart_win_app.h"

#include <memory>
#include <utility>

#include "app/phone_books.h"
#include "core/book_files.h"
#include "platform/win32/call_monitor_source.h"
#include "platform/win32/phone/phone_control_source.h"
#include "platform/win32/pipe_call_source.h"

namespace kw::app {

KlingelwartWinApp::KlingelwartWinApp(HINSTANCE instance, platform::InstanceGuard& guard)
    : sources_(
          [this](std::string_view caller, std::string_view called) {
              if (!window_.ended()) {
                  presenter_.phoneRang(caller, called);
              }
          },
          window_),
      window_(instance),
      // Owned by the main window or the dialog open on it: modal to that, and above it when the
      // main window is kept on top.
      messages_([this] { return dialogs_.topWindow(); }),
      fileDialog_([this] { return dialogs_.topWindow(); }),
      optionenPlatform_{store_, messages_, files_, fileDialog_},
      // No SIP here, so no password store.
      anrufquellenPlatform_{store_, messages_, true,
                            [this](const CallSourceOptions& on) { applySources(on); }, nullptr},
      telefonbuecherPlatform_{store_,
                              messages_,
                              fileDialog_,
                              &credentials_,
                              [this](const PhoneBookOptions& chosen) { bookLoader_.load(chosen); },
                              [this] { return ui::StatusLines(books_); }},
      windowManager_(window_.window()),
      help_(window_.window()),
      dialogs_(window_.window(), options_, optionenPlatform_, program_, &anrufquellenPlatform_,
               &telefonbuecherPlatform_),
      platform_{guard,
                program_,
                store_,
                windowManager_,
                help_,
                dialogs_,
                CallActionPlatform{launcher_, automation_, messages_}},
      presenter_(window_, options_, call_, platform_),
      bookLoader_([](const std::string& path) { return ReadBookFromDisk(path, ParseBook); },
                  BuildNameIndex,
                  [this](std::function<void()> task) { uiThread_.post(std::move(task)); },
                  [this](const ui::LoadedBooks& loaded) {
                      names_ = loaded.lookup;
                      books_ = loaded.books;
                      sources_.setBookProblems(ui::BookProblems(books_));
                  }) {
    window_.connectTo(presenter_);
}

std::vector<std::unique_ptr<platform::CallSource>> KlingelwartWinApp::sourcesFor(
    const CallSourceOptions& on) {
    std::vector<std::unique_ptr<platform::CallSource>> sources;
    if (on.Steuerelement) {
        auto phone = std::make_unique<win32::PhoneControlSource>();
        window_.connectPhone(*phone);
        sources.push_back(std::move(phone));
    }
    if (on.KlingelwartRing) {
        sources.push_back(std::make_unique<win32::PipeCallSource>());
    }
    if (on.Router) {
        sources.push_back(std::make_unique<win32::CallMonitorSource>(on.RouterHost, on.RouterPort));
    }
    return sources;
}

void KlingelwartWinApp::applySources(const CallSourceOptions& on) {
    // The old phone source goes with the old list; the control itself stays in its box.
    window_.disconnectPhone();
    sources_.replace(sourcesFor(on));
}

bool KlingelwartWinApp::start() {
    if (!presenter_.load()) {
        return false;
    }
    applySources(LoadCallSourceOptions(store_));
    bookLoader_.load(LoadPhoneBookOptions(store_));
    window_.showAsLoaded();
    return true;
}

int KlingelwartWinApp::run() {
    return window_.runMessageLoop();
}

}  // namespace kw::app
