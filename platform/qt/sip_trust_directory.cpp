#include "platform/qt/sip_trust_directory.h"

#include <openssl/x509.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace kw::qt {

SipTrustDirectory::SipTrustDirectory(const std::string& pem) : pinned_(!pem.empty()) {
    std::error_code error;
    std::string pattern = (std::filesystem::temp_directory_path(error) / "klingelwart-sip-XXXXXX");
    if (error || ::mkdtemp(pattern.data()) == nullptr) {
        return;
    }
    const std::filesystem::path file = std::filesystem::path(pattern) / "cafile.pem";
    bool written = false;
    if (pem.empty()) {
        // Where OpenSSL looks by itself, SSL_CERT_FILE first.
        const char* chosen = std::getenv(X509_get_default_cert_file_env());
        std::filesystem::create_symlink(chosen != nullptr ? chosen : X509_get_default_cert_file(),
                                        file, error);
        written = !error;
    } else {
        std::ofstream out(file, std::ios::binary);
        written = static_cast<bool>(out << pem) && static_cast<bool>(out.flush());
    }
    path_ = pattern;
    if (!written) {
        std::filesystem::remove_all(path_, error);
        path_.clear();
    }
}

SipTrustDirectory::~SipTrustDirectory() {
    if (!path_.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
}

}  // namespace kw::qt
