#pragma once

#include <string>
#include <string_view>

namespace kw {

// What the desktop's notification for one call says. Plain text: a server that renders markup
// must get it escaped by the backend.
struct CallNotification {
    std::string summary;
    std::string body;

    friend bool operator==(const CallNotification&, const CallNotification&) = default;
};

// Caller, name and line made inert and shortened as the caller line does. An empty name leaves
// the number alone; an empty caller is a call without a number.
CallNotification RingingNotification(std::string_view caller, std::string_view name,
                                     std::string_view called);
CallNotification MissedNotification(std::string_view caller, std::string_view name,
                                    std::string_view called);

}  // namespace kw
