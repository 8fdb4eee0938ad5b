#include "tests/win32/gui/remote_memory.h"

namespace kw::win32::gui {

RemoteMemory::RemoteMemory(DWORD processId, std::size_t size)
    : process_(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE,
                           processId)) {
    if (process_ && size > 0) {
        base_ =
            VirtualAllocEx(process_.get(), nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
        size_ = base_ != nullptr ? size : 0;
    }
}

RemoteMemory::~RemoteMemory() {
    if (base_ != nullptr) {
        VirtualFreeEx(process_.get(), base_, 0, MEM_RELEASE);
    }
}

void* RemoteMemory::at(std::size_t offset) const {
    return inside(offset, 0) ? static_cast<char*>(base_) + offset : nullptr;
}

bool RemoteMemory::write(std::size_t offset, const void* data, std::size_t size) const {
    SIZE_T written = 0;
    return inside(offset, size) &&
           WriteProcessMemory(process_.get(), at(offset), data, size, &written) && written == size;
}

bool RemoteMemory::read(std::size_t offset, void* data, std::size_t size) const {
    SIZE_T got = 0;
    return inside(offset, size) &&
           ReadProcessMemory(process_.get(), at(offset), data, size, &got) && got == size;
}

bool RemoteMemory::inside(std::size_t offset, std::size_t size) const {
    return base_ != nullptr && offset <= size_ && size <= size_ - offset;
}

}  // namespace kw::win32::gui
