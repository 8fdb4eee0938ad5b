#include "core/call_list_row.h"

#include <ctime>

namespace kw {

std::string CallTimeText(std::int64_t utcSeconds) {
    const auto time = static_cast<std::time_t>(utcSeconds);
    // Only the UI thread formats times, so localtime's shared buffer is safe here.
    const std::tm* local = std::localtime(&time);
    char text[32] = "";
    if (local == nullptr || std::strftime(text, sizeof text, "%d.%m.%Y %H:%M:%S", local) == 0) {
        return {};
    }
    return text;
}

std::string CallerText(std::string_view name, std::string_view number) {
    if (name.empty()) {
        return std::string(number);
    }
    if (number.empty()) {
        return std::string(name);
    }
    return std::string(name) + " (" + std::string(number) + ")";
}

CallListRow CallListRowOf(const CallEntry& entry) {
    return {CallTimeText(entry.time), CallerText(entry.name, entry.caller), entry.called,
            std::string(SourceText(entry.source)), std::string(OutcomeText(entry.outcome))};
}

}  // namespace kw
