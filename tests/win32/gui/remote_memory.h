#pragma once

#include <cstddef>

#include "platform/win32/unique_handle.h"
#include "platform/win32/windows_api.h"

namespace kw::win32::gui {

// A zeroed block in another process's address space. Messages such as the tooltip queries pass
// pointers that the window manager does not carry across processes, so the other side must find
// its arguments, and leave its answers, in memory of its own.
class RemoteMemory {
  public:
    RemoteMemory(DWORD processId, std::size_t size);
    ~RemoteMemory();
    RemoteMemory(const RemoteMemory&) = delete;
    RemoteMemory& operator=(const RemoteMemory&) = delete;

    explicit operator bool() const { return base_ != nullptr; }
    // The address as the other process sees it; meaningless here.
    void* at(std::size_t offset) const;

    // False for a range outside the block or a failed transfer.
    bool write(std::size_t offset, const void* data, std::size_t size) const;
    bool read(std::size_t offset, void* data, std::size_t size) const;

  private:
    bool inside(std::size_t offset, std::size_t size) const;

    UniqueHandle process_;
    void* base_ = nullptr;
    std::size_t size_ = 0;
};

}  // namespace kw::win32::gui
