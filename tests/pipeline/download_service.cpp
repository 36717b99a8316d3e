#include "tests/pipeline/download_service.h"

#include <curl/curl.h>
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

#include "tests/support/host_programs.h"

namespace PipelineTests {

namespace {

std::unique_ptr<DownloadService>& Instance() {
    static std::unique_ptr<DownloadService> instance;
    return instance;
}

Json::Value ParseJson(const std::string& text) {
    Json::Value value;
    Json::CharReaderBuilder builder;
    std::string errors;
    std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    if (!reader->parse(text.data(), text.data() + text.size(), &value, &errors)) {
        throw std::runtime_error("bad JSON from the download service: " + errors);
    }
    return value;
}

std::string Name(const std::string& route) { return route.substr(route.rfind('/') + 1); }

// libcurl is set up once per process, as the installer's entry routine does; the service
// must be stopped while libcurl still works.
class CurlEnvironment : public testing::Environment {
public:
    void SetUp() override { curl_global_init(CURL_GLOBAL_ALL); }
    void TearDown() override {
        DownloadService::Shutdown();
        curl_global_cleanup();
    }
};
const auto* const curlEnvironment = testing::AddGlobalTestEnvironment(new CurlEnvironment);

}  // namespace

DownloadService& DownloadService::Get() {
    // One attempt per test program: a service that did not come up fails every test
    // at once instead of being started again for each.
    static bool attempted = false;
    if (!Instance() && attempted) throw std::runtime_error("the download service is not running");
    attempted = true;
    if (!Instance()) Instance().reset(new DownloadService);
    return *Instance();
}

void DownloadService::Shutdown() { Instance().reset(); }

DownloadService::DownloadService()
    : faultPort_(TestSupport::FreeLocalPort()),
      nginxPort_(TestSupport::FreeLocalPort()),
      tlsPort_(TestSupport::FreeLocalPort()) {
    const std::string script = VANTOREL_DOWNLOAD_SERVICE_SCRIPT;
    TestSupport::StartHostProgram(VANTOREL_PYTHON3, std::wstring(script.begin(), script.end()) + L" --port " +
                                                        std::to_wstring(faultPort_) + L" --nginx-port " +
                                                        std::to_wstring(nginxPort_) + L" --tls-port " +
                                                        std::to_wstring(tlsPort_) + L" --idle-timeout 120");
    if (!TestSupport::WaitUntilAnswering(FaultBase() + "/control/ping", 30000) ||
        !TestSupport::WaitUntilAnswering(Url("/files/none/tiny"), 10000)) {
        throw std::runtime_error("the download service did not come up");
    }
    packages_ = ParseJson(TestSupport::HttpRequest(FaultBase() + "/control/packages").body);
}

DownloadService::~DownloadService() {
    const std::string empty;
    TestSupport::HttpRequest(FaultBase() + "/control/shutdown", &empty);
}

std::string DownloadService::FaultBase() const { return "http://127.0.0.1:" + std::to_string(faultPort_); }

std::string DownloadService::Substitute(const std::string& route) const {
    std::string result = route;
    const size_t marker = result.find("{md5}");
    if (marker != std::string::npos) result.replace(marker, 5, PackageInfo(Name(route)).md5);
    return result;
}

std::string DownloadService::Url(const std::string& route) const {
    const bool faultServer = route.rfind("/f/", 0) == 0 || route.rfind("/echo/", 0) == 0;
    return (faultServer ? FaultBase() : "http://127.0.0.1:" + std::to_string(nginxPort_)) + Substitute(route);
}

std::wstring DownloadService::WideUrl(const std::string& route) const {
    const std::string url = Url(route);
    return std::wstring(url.begin(), url.end());
}

std::string DownloadService::TlsUrl(const std::string& route) const {
    return "https://localhost:" + std::to_string(tlsPort_) + Substitute(route);
}

Package DownloadService::PackageInfo(const std::string& name) const {
    const Json::Value& entry = packages_[name];
    if (!entry.isObject()) throw std::runtime_error("no package " + name);
    return {entry["size"].asInt64(), entry["md5"].asString()};
}

Package DownloadService::Publish(const std::string& name, const std::string& bytes) {
    const Json::Value entry =
        ParseJson(TestSupport::HttpRequest(FaultBase() + "/control/publish/" + name, &bytes).body);
    packages_[name] = entry;
    return PackageInfo(name);
}

std::string DownloadService::PackageBytes(const std::string& name, int64_t first, int64_t last) const {
    CURL* curl = curl_easy_init();
    std::string bytes;
    const std::string url = FaultBase() + "/f/plain/none/" + name;
    const std::string range = std::to_string(first) + "-" + std::to_string(last);
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_RANGE, range.c_str());
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, +[](char* data, size_t size, size_t count, void* out) {
        static_cast<std::string*>(out)->append(data, size * count);
        return size * count;
    });
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &bytes);
    curl_easy_perform(curl);
    curl_easy_cleanup(curl);
    Reset();
    return bytes;
}

Json::Value DownloadService::Requests() const {
    return ParseJson(TestSupport::HttpRequest(FaultBase() + "/control/requests").body);
}

Json::Value DownloadService::RequestsWith(const std::string& method) const {
    Json::Value matching(Json::arrayValue);
    for (const Json::Value& request : Requests()) {
        if (request["method"].asString() == method) matching.append(request);
    }
    return matching;
}

void DownloadService::Reset() const {
    const std::string empty;
    TestSupport::HttpRequest(FaultBase() + "/control/reset", &empty);
}

std::string DownloadService::TlsCertificatePem() const {
    return TestSupport::HttpRequest(FaultBase() + "/control/certificate").body;
}

std::string DownloadService::NginxErrorLog() const {
    return TestSupport::HttpRequest(FaultBase() + "/control/error-log").body;
}

}  // namespace PipelineTests
