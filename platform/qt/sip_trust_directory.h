#pragma once

#include <string>

namespace kw::qt {

// A private directory that tells the SIP stack which certificates to trust, as it expects it:
// "cafile.pem" inside. Removed with the object.
class SipTrustDirectory {
  public:
    // `pem` empty: the system's certificate authorities; otherwise exactly that certificate.
    explicit SipTrustDirectory(const std::string& pem);
    ~SipTrustDirectory();

    SipTrustDirectory(const SipTrustDirectory&) = delete;
    SipTrustDirectory& operator=(const SipTrustDirectory&) = delete;

    // Empty when the directory could not be made.
    const std::string& path() const { return path_; }
    bool pinned() const { return pinned_; }

  private:
    std::string path_;
    bool pinned_ = false;
};

}  // namespace kw::qt
