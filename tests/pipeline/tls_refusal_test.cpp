// The package is run with administrator rights, so no downloader may accept a server
// whose certificate the system does not trust.
#include <windows.h>
#include <wincrypt.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <vector>

#include "pipeline/curl_downloader.h"
#include "pipeline/mt_curl_downloader.h"
#include "tests/pipeline/download_files.h"
#include "tests/pipeline/download_service.h"
#include "tests/pipeline/status_recorder.h"

namespace PipelineTests {
namespace {

namespace fs = std::filesystem;

struct TlsRow {
    const char* name;
    std::unique_ptr<CDownloader> (*make)(StatusCallback, const std::wstring&, const std::wstring&);
    const wchar_t* refused;
    const wchar_t* trusted;
};

template <typename Downloader>
std::unique_ptr<CDownloader> Make(StatusCallback callback, const std::wstring& url, const std::wstring& path) {
    return std::make_unique<Downloader>(std::move(callback), url, path);
}

void PrintTo(const TlsRow& row, std::ostream* out) { *out << row.name; }

const TlsRow kTlsRows[] = {
    {"SingleConnection", &Make<CCurlDownloader>, LR"(1001(1,"") 1004(-998,"LibCurl"))",
     LR"(1001(1,"") 1003(0,"LibCurl"))"},
    {"MultiPart", &Make<CMTCurlDownloader>, LR"(1001(1,"") 1004(0,"LibCurl"))", LR"(1001(1,"") 1003(0,"LibCurl"))"},
};

// Puts the service's certificate among the system's trusted roots for the scope.
class TrustedRoot {
public:
    explicit TrustedRoot(const std::string& pem) {
        DWORD size = 0;
        ::CryptStringToBinaryA(pem.c_str(), 0, CRYPT_STRING_BASE64HEADER, nullptr, &size, nullptr, nullptr);
        der_.resize(size);
        added_ = size != 0 &&
                 ::CryptStringToBinaryA(pem.c_str(), 0, CRYPT_STRING_BASE64HEADER, der_.data(), &size, nullptr, nullptr) &&
                 ::CertAddEncodedCertificateToSystemStoreW(L"ROOT", der_.data(), size);
    }
    ~TrustedRoot() {
        HCERTSTORE store = ::CertOpenSystemStoreW(0, L"ROOT");
        PCCERT_CONTEXT wanted = ::CertCreateCertificateContext(X509_ASN_ENCODING, der_.data(), static_cast<DWORD>(der_.size()));
        if (store && wanted) {
            PCCERT_CONTEXT found = ::CertFindCertificateInStore(store, X509_ASN_ENCODING, 0, CERT_FIND_EXISTING, wanted, nullptr);
            if (found) ::CertDeleteCertificateFromStore(found);
        }
        if (wanted) ::CertFreeCertificateContext(wanted);
        if (store) ::CertCloseStore(store, 0);
    }
    bool Added() const { return added_; }

private:
    std::vector<BYTE> der_;
    bool added_ = false;
};

class SelfSignedServer : public testing::TestWithParam<TlsRow> {
protected:
    std::wstring Run(const std::string& route, bool* packageWritten) {
        const std::string url = DownloadService::Get().TlsUrl(route);
        PackageFolder folder;
        StatusRecorder recorder;
        {
            std::unique_ptr<CDownloader> downloader =
                GetParam().make(recorder.Callback(), std::wstring(url.begin(), url.end()), folder.PackagePath());
            if (!recorder.RunToEnd(*downloader)) return L"no end code";
            *packageWritten = Md5Of(folder.PackagePath()) == DownloadService::Get().PackageInfo("pkg").md5;
        }
        return recorder.Sequence();
    }
};

TEST_P(SelfSignedServer, IsRefused) {
    bool packageWritten = true;
    EXPECT_EQ(GetParam().refused, Run("/software/pkg", &packageWritten));
    EXPECT_FALSE(packageWritten);
}

// The control: the same server is accepted once its certificate is trusted, so the
// refusal above is the certificate check and not a TLS set-up that never works.
TEST_P(SelfSignedServer, IsAcceptedOnceTrusted) {
    TrustedRoot trusted(DownloadService::Get().TlsCertificatePem());
    ASSERT_TRUE(trusted.Added());
    bool packageWritten = false;
    EXPECT_EQ(GetParam().trusted, Run("/software/pkg", &packageWritten));
    EXPECT_TRUE(packageWritten);
}

INSTANTIATE_TEST_SUITE_P(Tls, SelfSignedServer, testing::ValuesIn(kTlsRows),
                         [](const testing::TestParamInfo<TlsRow>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace PipelineTests
