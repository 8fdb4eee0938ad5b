#pragma once

#include "platform/win32/windows_api.h"

#include <oaidl.h>

namespace kw::win32 {

// Owns the exception record that IDispatch::Invoke fills and frees its texts.
class ExcepInfo {
  public:
    ExcepInfo() noexcept;
    ~ExcepInfo();
    ExcepInfo(const ExcepInfo&) = delete;
    ExcepInfo& operator=(const ExcepInfo&) = delete;

    EXCEPINFO* get() noexcept { return &info_; }
    // The record, completed first by the server's deferred fill-in when it asked for one.
    const EXCEPINFO& filledIn() noexcept;

  private:
    EXCEPINFO info_;
};

}  // namespace kw::win32
