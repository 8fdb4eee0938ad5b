#include "platform/win32/win32_clipboard.h"

#include <cstring>
#include <new>
#include <string>

#include "platform/win32/wide_text.h"

namespace kw::win32 {

namespace {

// Open while it lives.
class OpenClipboardScope {
  public:
    explicit OpenClipboardScope(HWND owner) : open_(OpenClipboard(owner) != FALSE) {}
    ~OpenClipboardScope() {
        if (open_) {
            CloseClipboard();
        }
    }
    OpenClipboardScope(const OpenClipboardScope&) = delete;
    OpenClipboardScope& operator=(const OpenClipboardScope&) = delete;

    bool open() const { return open_; }

  private:
    bool open_;
};

// Freed unless the clipboard has taken it over.
class GlobalText {
  public:
    explicit GlobalText(const std::wstring& text)
        : memory_(GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t))) {
        if (memory_ == nullptr) {
            return;
        }
        if (void* bytes = GlobalLock(memory_)) {
            std::memcpy(bytes, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
            GlobalUnlock(memory_);
        } else {
            GlobalFree(memory_);
            memory_ = nullptr;
        }
    }
    ~GlobalText() {
        if (memory_ != nullptr) {
            GlobalFree(memory_);
        }
    }
    GlobalText(const GlobalText&) = delete;
    GlobalText& operator=(const GlobalText&) = delete;

    HGLOBAL get() const { return memory_; }
    void handOver() { memory_ = nullptr; }

  private:
    HGLOBAL memory_;
};

}  // namespace

bool Win32Clipboard::setText(std::string_view text) {
    try {
        GlobalText memory(Utf8ToWide(text));
        HWND owner = owner_ ? owner_() : nullptr;
        if (memory.get() == nullptr || owner == nullptr) {
            return false;
        }
        const OpenClipboardScope clipboard(owner);
        if (!clipboard.open() || !EmptyClipboard() ||
            SetClipboardData(CF_UNICODETEXT, memory.get()) == nullptr) {
            return false;
        }
        memory.handOver();
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

}  // namespace kw::win32
