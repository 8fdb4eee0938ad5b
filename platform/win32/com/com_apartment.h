#pragma once

namespace kw::win32 {

// Joins the calling thread to a single-threaded COM apartment for the owner's lifetime:
// CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE) on construction,
// CoUninitialize on destruction only when this object's initialisation succeeded (S_OK or S_FALSE;
// each successful call must be balanced). RPC_E_CHANGED_MODE (the thread already lives in a
// multithreaded apartment) leaves COM usable on the thread, so ok() is true, but nothing is
// uninitialised. Must be destroyed on the thread that created it.
class ComApartment {
  public:
    ComApartment() noexcept;
    ~ComApartment();

    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    ComApartment(ComApartment&&) = delete;
    ComApartment& operator=(ComApartment&&) = delete;

    // True when COM can be used on this thread.
    [[nodiscard]] bool ok() const noexcept { return usable_; }

  private:
    bool usable_ = false;
    bool mustUninitialize_ = false;
};

}  // namespace kw::win32
