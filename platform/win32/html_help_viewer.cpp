#include "platform/win32/html_help_viewer.h"

#include "platform/win32/wide_text.h"

namespace kw::win32 {

namespace {

// From htmlhelp.h, which is not part of every SDK installation.
constexpr UINT kDisplayTopic = 0x0000;  // HH_DISPLAY_TOPIC
constexpr UINT kCloseAll = 0x0012;      // HH_CLOSE_ALL

}  // namespace

HtmlHelpViewer::~HtmlHelpViewer() {
    if (library_ == nullptr) {
        return;
    }
    if (htmlHelp_ != nullptr) {
        htmlHelp_(nullptr, nullptr, kCloseAll, 0);
    }
    FreeLibrary(library_);
}

bool HtmlHelpViewer::load() {
    if (!tried_) {
        tried_ = true;
        // From the system directory only: a hhctrl.ocx beside the program or in the current
        // directory is not loaded.
        library_ = LoadLibraryExW(L"hhctrl.ocx", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        if (library_ != nullptr) {
            // Through void(*)(), the one function pointer type that casts without a warning.
            htmlHelp_ = reinterpret_cast<HtmlHelpFunction>(
                reinterpret_cast<void (*)()>(GetProcAddress(library_, "HtmlHelpW")));
        }
    }
    return htmlHelp_ != nullptr;
}

void HtmlHelpViewer::open(const std::string& path) {
    try {
        if (!load()) {
            return;
        }
        const std::wstring file = Utf8ToWide(path);
        // The result is the help window or null; neither is reported.
        htmlHelp_(owner_, file.c_str(), kDisplayTopic, 0);
    } catch (...) {
    }
}

}  // namespace kw::win32
