#pragma once

#include <filesystem>

namespace kw::win32::gui {

// The prefix without the substitute phone control for a scope, as a machine without the
// softphone. The control's own registration program takes it out and puts it back; the control
// is registered again when this goes out of scope, also after a failed test, so the tests that
// follow still find it.
class SubstitutePhoneAbsence {
  public:
    SubstitutePhoneAbsence();
    ~SubstitutePhoneAbsence();
    SubstitutePhoneAbsence(const SubstitutePhoneAbsence&) = delete;
    SubstitutePhoneAbsence& operator=(const SubstitutePhoneAbsence&) = delete;

    // False when the control was not registered or could not be removed.
    bool removed() const { return removed_; }
    // Registers the control again; true when it is back (or was never there).
    bool restore();

  private:
    // Empty when the control was not registered to begin with.
    std::filesystem::path registration_;
    bool removed_ = false;
    bool restored_ = false;
};

}  // namespace kw::win32::gui
