#include "tests/win32/gui/recorded_arguments.h"

#include <charconv>

#include "tests/win32/win32_test_util.h"

namespace kw::win32::gui {

namespace {

// Reads one "<length>:<bytes>\n" field off the front of `rest`.
std::optional<std::string_view> TakeField(std::string_view& rest) {
    std::size_t length = 0;
    const auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), length);
    const auto digits = static_cast<std::size_t>(end - rest.data());
    if (error != std::errc{} || digits >= rest.size() || rest[digits] != ':' ||
        length >= rest.size() - digits - 1 || rest[digits + 1 + length] != '\n') {
        return std::nullopt;
    }
    const std::string_view field = rest.substr(digits + 1, length);
    rest.remove_prefix(digits + 1 + length + 1);
    return field;
}

std::optional<std::size_t> TakeCount(std::string_view& rest) {
    const auto field = TakeField(rest);
    if (!field) {
        return std::nullopt;
    }
    std::size_t count = 0;
    const char* end = field->data() + field->size();
    const auto [stop, error] = std::from_chars(field->data(), end, count);
    if (error != std::errc{} || stop != end) {
        return std::nullopt;
    }
    return count;
}

}  // namespace

std::optional<std::vector<std::string>> RecordedArguments(std::string_view record) {
    // The show command, the command line, then CommandLineToArgvW's words before the runtime's.
    if (!TakeField(record) || !TakeField(record)) {
        return std::nullopt;
    }
    const auto words = TakeCount(record);
    for (std::size_t i = 0; words && i < *words; ++i) {
        if (!TakeField(record)) {
            return std::nullopt;
        }
    }
    const auto count = words ? TakeCount(record) : std::nullopt;
    if (!count) {
        return std::nullopt;
    }
    std::vector<std::string> arguments;
    for (std::size_t i = 0; i < *count; ++i) {
        const auto argument = TakeField(record);
        if (!argument) {
            return std::nullopt;
        }
        arguments.emplace_back(*argument);
    }
    return arguments;
}

std::optional<std::vector<std::string>> AwaitRecordedArguments(const std::filesystem::path& file,
                                                               std::chrono::milliseconds patience) {
    std::optional<std::string> data;
    PollUntil([&] { return (data = test::ReadBytes(file)).has_value(); }, patience);
    return data ? RecordedArguments(*data) : std::nullopt;
}

}  // namespace kw::win32::gui
