#pragma once
// The download service of tests/fixtures/download_service: nginx plus the python fault
// server, started once per test program and stopped at its end.
#include <json/json.h>

#include <cstdint>
#include <memory>
#include <string>

namespace PipelineTests {

struct Package {
    int64_t size = 0;
    std::string md5;  // empty for the sparse 2 GiB+ package
};

class DownloadService {
public:
    // Started on first use.
    static DownloadService& Get();
    static void Shutdown();

    // A route of the service as a URL. Routes starting with "/f/" or "/echo/" go to the
    // fault server, the others to nginx; "{md5}" becomes the digest of the package the
    // route ends with.
    std::string Url(const std::string& route) const;
    std::wstring WideUrl(const std::string& route) const;
    // The same nginx routes over TLS ("localhost") with a self-signed certificate.
    std::string TlsUrl(const std::string& route) const;

    Package PackageInfo(const std::string& name) const;
    // Serves bytes a test made as one more package, at "/files/{md5}/NAME" and through
    // the fault server.
    Package Publish(const std::string& name, const std::string& bytes);
    // Bytes of a package from the fault server (first..last inclusive).
    std::string PackageBytes(const std::string& name, int64_t first, int64_t last) const;

    // Requests the fault server received since the last Reset: [{method, path, range,
    // connection, accept_encoding, user_agent, status}].
    Json::Value Requests() const;
    Json::Value RequestsWith(const std::string& method) const;
    void Reset() const;
    std::string NginxErrorLog() const;
    // The TLS server's self-signed certificate, PEM.
    std::string TlsCertificatePem() const;

    ~DownloadService();

private:
    DownloadService();
    std::string FaultBase() const;
    std::string Substitute(const std::string& route) const;

    unsigned short faultPort_ = 0;
    unsigned short nginxPort_ = 0;
    unsigned short tlsPort_ = 0;
    Json::Value packages_;
};

}  // namespace PipelineTests
