#pragma once

namespace kw::win32 {

// OleInitialize for the owner's lifetime: a single-threaded apartment plus what in-place
// activation of hosted controls needs (the clipboard, drag and drop, the OLE message filter).
// OleUninitialize only when this object's initialisation succeeded. Must be destroyed on the
// thread that created it, after every COM object of the thread is gone.
class OleApartment {
  public:
    OleApartment() noexcept;
    ~OleApartment();
    OleApartment(const OleApartment&) = delete;
    OleApartment& operator=(const OleApartment&) = delete;

    [[nodiscard]] bool ok() const noexcept { return initialised_; }

  private:
    bool initialised_ = false;
};

}  // namespace kw::win32
