#include "platform/win32/com/ole_apartment.h"

#include "platform/win32/windows_api.h"

#include <ole2.h>

namespace kw::win32 {

OleApartment::OleApartment() noexcept : initialised_(SUCCEEDED(OleInitialize(nullptr))) {}

OleApartment::~OleApartment() {
    if (initialised_) {
        OleUninitialize();
    }
}

}  // namespace kw::win32
