#pragma once

#include <cstdint>
#include <string_view>

#include "core/call_info.h"
#include "ui/book_loader.h"
#include "ui/call_notifications.h"
#include "ui/main_screen.h"

namespace kw::ui {

// Where a call from any source goes: the main window's caller line with the name the books
// know, and the desktop's notification. The same on both systems.
class IncomingCalls {
  public:
    IncomingCalls(MainScreen& screen, const CallInfo& call, CallNotifications& notifications)
        : screen_(screen), call_(call), notifications_(notifications) {}

    void rang(std::string_view caller, std::string_view called);

    // Books read anew: later calls are named from them, and so is the call in the caller line
    // when it rang before they were read.
    void setNames(NameLookup names);

  private:
    MainScreen& screen_;
    const CallInfo& call_;
    CallNotifications& notifications_;
    NameLookup names_;
    std::uint64_t calls_ = 0;
};

}  // namespace kw::ui
