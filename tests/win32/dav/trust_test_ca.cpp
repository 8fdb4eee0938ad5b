// Puts the test CA into the user's root store of the Wine prefix, or takes it out again:
//
//   kw_trust_test_ca add|remove CA.pem
//
// A program of its own because a process reads the root store once: the tests' process then
// starts with the CA known. Windows would ask the user first; Wine does not.
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/win32/windows_api.h"

#include <wincrypt.h>

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        return 2;
    }
    const std::wstring action = argv[1];
    std::ifstream file(argv[2], std::ios::binary);
    const std::string pem{std::istreambuf_iterator<char>(file), {}};
    DWORD size = 0;
    CryptStringToBinaryA(pem.data(), DWORD(pem.size()), CRYPT_STRING_BASE64HEADER, nullptr, &size,
                         nullptr, nullptr);
    std::vector<BYTE> der(size);
    PCCERT_CONTEXT ca = nullptr;
    if (size == 0 ||
        !CryptStringToBinaryA(pem.data(), DWORD(pem.size()), CRYPT_STRING_BASE64HEADER, der.data(),
                              &size, nullptr, nullptr) ||
        (ca = CertCreateCertificateContext(X509_ASN_ENCODING, der.data(), size)) == nullptr) {
        return 1;
    }
    HCERTSTORE root =
        CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_CURRENT_USER, L"Root");
    bool done = false;
    if (root != nullptr && action == L"add") {
        done = CertAddCertificateContextToStore(root, ca, CERT_STORE_ADD_REPLACE_EXISTING, nullptr);
    } else if (root != nullptr && action == L"remove") {
        PCCERT_CONTEXT found =
            CertFindCertificateInStore(root, X509_ASN_ENCODING, 0, CERT_FIND_EXISTING, ca, nullptr);
        done = found == nullptr || CertDeleteCertificateFromStore(found);
    }
    CertFreeCertificateContext(ca);
    if (root != nullptr) {
        CertCloseStore(root, 0);
    }
    return done ? 0 : 1;
}
