#include "tests/win32/gui/tooltip_text.h"

#include <cstddef>
#include <vector>

#include "tests/win32/gui/process_windows.h"
#include "tests/win32/gui/remote_memory.h"

#include <commctrl.h>

namespace kw::win32::gui {

namespace {

// The longest tip a tooltip window hands out, final NUL included.
constexpr std::size_t kTextChars = 1024;

// The other process's block: one tool description, then the text buffer.
constexpr std::size_t kToolOffset = 0;
constexpr std::size_t kTextOffset = sizeof(TTTOOLINFOW);
constexpr std::size_t kBlockSize = kTextOffset + kTextChars * sizeof(wchar_t);

// The tool at `index`, described in the block as the tooltip window wrote it.
std::optional<TTTOOLINFOW> EnumTool(HWND tooltip, const RemoteMemory& block, LRESULT index) {
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    if (!block.write(kToolOffset, &tool, sizeof(tool)) ||
        AskWindow(tooltip, TTM_ENUMTOOLSW, static_cast<WPARAM>(index),
                  reinterpret_cast<LPARAM>(block.at(kToolOffset))) != TRUE ||
        !block.read(kToolOffset, &tool, sizeof(tool))) {
        return std::nullopt;
    }
    return tool;
}

std::optional<std::wstring> TextOfTool(HWND tooltip, const RemoteMemory& block, TTTOOLINFOW tool) {
    // A stale text from an earlier tool must not pass for this one's.
    const std::vector<wchar_t> empty(kTextChars, L'\0');
    tool.cbSize = sizeof(tool);
    tool.lpszText = static_cast<LPWSTR>(block.at(kTextOffset));
    if (!block.write(kTextOffset, empty.data(), kTextChars * sizeof(wchar_t)) ||
        !block.write(kToolOffset, &tool, sizeof(tool)) ||
        !AskWindow(tooltip, TTM_GETTEXTW, kTextChars,
                   reinterpret_cast<LPARAM>(block.at(kToolOffset)))) {
        return std::nullopt;
    }
    std::vector<wchar_t> text(kTextChars, L'\0');
    if (!block.read(kTextOffset, text.data(), kTextChars * sizeof(wchar_t))) {
        return std::nullopt;
    }
    text.back() = L'\0';  // the other side may have filled it all
    return std::wstring(text.data());
}

}  // namespace

std::optional<std::wstring> TooltipTextOf(DWORD processId, HWND control) {
    if (control == nullptr) {
        return std::nullopt;
    }
    for (const HWND tooltip : TopWindows(processId)) {
        if (ClassOf(tooltip) != TOOLTIPS_CLASSW) {
            continue;
        }
        const std::optional<LRESULT> count = AskWindow(tooltip, TTM_GETTOOLCOUNT, 0, 0);
        const RemoteMemory block(processId, kBlockSize);
        if (!count || !block) {
            continue;
        }
        for (LRESULT index = 0; index < *count; ++index) {
            const std::optional<TTTOOLINFOW> tool = EnumTool(tooltip, block, index);
            if (tool && (tool->uFlags & TTF_IDISHWND) != 0 &&
                tool->uId == reinterpret_cast<UINT_PTR>(control)) {
                return TextOfTool(tooltip, block, *tool);
            }
        }
    }
    return std::nullopt;
}

}  // namespace kw::win32::gui
