#include "pipeline/tls_trust.h"

#include <windows.h>
#include <wincrypt.h>

#include <string>

#include "utils/unique_handle.h"

namespace Pipeline {

namespace {

struct CertStoreTraits {
    static HCERTSTORE Invalid() noexcept { return nullptr; }
    static void Close(HCERTSTORE store) noexcept { ::CertCloseStore(store, 0); }
};
using CertStore = Utils::UniqueHandle<CertStoreTraits>;

// Wine's Schannel completes a handshake without validating the server's certificate;
// the Windows one validates it against the certificate store (with its automatic root
// updates), which is what we want there.
bool SchannelSkipsValidation() {
    const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    return ntdll && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

// The system's trusted roots (Wine fills them from the host's) as PEM text.
std::string TrustedRootsPem() {
    std::string pem;
    const CertStore store(::CertOpenSystemStoreW(0, L"ROOT"));
    if (!store) return pem;
    for (PCCERT_CONTEXT cert = ::CertEnumCertificatesInStore(store.Get(), nullptr); cert;
         cert = ::CertEnumCertificatesInStore(store.Get(), cert)) {
        DWORD size = 0;
        if (!::CryptBinaryToStringA(cert->pbCertEncoded, cert->cbCertEncoded, CRYPT_STRING_BASE64HEADER, nullptr,
                                    &size)) {
            continue;
        }
        std::string block(size, '\0');
        if (::CryptBinaryToStringA(cert->pbCertEncoded, cert->cbCertEncoded, CRYPT_STRING_BASE64HEADER,
                                   block.data(), &size)) {
            block.resize(size);
            pem += block;
        }
    }
    return pem;
}

bool IsHttps(const std::string& url) {
    return url.size() >= 8 && ::CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, url.c_str(), 8, "https://", 8) == CSTR_EQUAL;
}

}  // namespace

int RequireTrustedServer(CURL* handle, const std::string& url) {
    int result = curl_easy_setopt(handle, CURLOPT_SSL_VERIFYPEER, 1L) |
                 curl_easy_setopt(handle, CURLOPT_SSL_VERIFYHOST, 2L);
    static const bool checkHere = SchannelSkipsValidation();
    // Reading the store costs a noticeable part of a second under Wine, so only TLS
    // requests pay it. A plain "http://" start has no authenticity to keep anyway:
    // whoever answers it can send the download anywhere.
    if (checkHere && IsHttps(url)) {
        // With a CA bundle libcurl checks the chain and the host name itself. Read for
        // each request, so the store's current state counts; an empty bundle trusts
        // nothing, which is the safe way to fail.
        std::string roots = TrustedRootsPem();
        curl_blob blob{roots.data(), roots.size(), CURL_BLOB_COPY};
        result |= curl_easy_setopt(handle, CURLOPT_CAINFO_BLOB, &blob);
    }
    return result;
}

}  // namespace Pipeline
