#include "core/call_list_row.h"

#include <chrono>
#include <cstdio>
#include <ctime>

namespace kw {

std::string CallTimeFormatter::text(std::int64_t utcSeconds) {
    using namespace std::chrono;
    const std::int64_t quarter = utcSeconds >= 0 ? utcSeconds / 900 : -1 - (-1 - utcSeconds) / 900;
    if (quarter != quarter_) {
        quarter_ = quarter;
        const auto time = static_cast<std::time_t>(quarter * 900);
        // Only the UI thread formats times, so localtime's shared buffer is safe here.
        const std::tm* local = std::localtime(&time);
        known_ = local != nullptr;
        if (known_) {
            const sys_days day = year{local->tm_year + 1900} / (local->tm_mon + 1) / local->tm_mday;
            const std::int64_t asUtc = day.time_since_epoch().count() * 86400LL +
                                       local->tm_hour * 3600 + local->tm_min * 60 + local->tm_sec;
            offset_ = asUtc - quarter * 900;
        }
    }
    if (!known_) {
        return {};
    }
    const sys_seconds local{seconds{utcSeconds + offset_}};
    const sys_days day = floor<days>(local);
    const year_month_day date{day};
    const hh_mm_ss clock{local - day};
    char text[40];
    std::snprintf(text, sizeof text, "%02u.%02u.%04d %02d:%02d:%02d",
                  static_cast<unsigned>(date.day()), static_cast<unsigned>(date.month()),
                  static_cast<int>(date.year()), static_cast<int>(clock.hours().count()),
                  static_cast<int>(clock.minutes().count()),
                  static_cast<int>(clock.seconds().count()));
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

CallListRow CallListRowOf(const CallEntry& entry, CallTimeFormatter& times) {
    return {times.text(entry.time), CallerText(entry.name, entry.caller), entry.called,
            std::string(SourceText(entry.source)), std::string(OutcomeText(entry.outcome))};
}

}  // namespace kw
