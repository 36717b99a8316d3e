#include "tests/analytics/collector_process.h"

#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>
#include <curl/curl.h>

#include <algorithm>
#include <stdexcept>

#include "tests/analytics/staged_records.h"
#include "tests/support/test_processes.h"

namespace AnalyticsTests {

namespace {

// Wine reaches the Unix file system through drive Z:.
std::wstring WinePathOf(const std::string& unixPath) {
    std::wstring path = L"Z:" + std::wstring(unixPath.begin(), unixPath.end());
    std::replace(path.begin(), path.end(), L'/', L'\\');
    return path;
}

unsigned short FreeLocalPort() {
    WSADATA data;
    if (::WSAStartup(MAKEWORD(2, 2), &data) != 0) throw std::runtime_error("WSAStartup failed");
    SOCKET probe = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int length = sizeof(address);
    unsigned short port = 0;
    if (probe != INVALID_SOCKET && ::bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0 &&
        ::getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
        port = ntohs(address.sin_port);
    }
    if (probe != INVALID_SOCKET) ::closesocket(probe);
    ::WSACleanup();
    if (port == 0) throw std::runtime_error("no free local port");
    return port;
}

size_t AppendReply(char* data, size_t size, size_t count, void* body) {
    static_cast<std::string*>(body)->append(data, size * count);
    return size * count;
}

}  // namespace

ControlReply ControlRequest(const std::string& url, const std::string* postBody) {
    ControlReply reply;
    CURL* curl = curl_easy_init();
    if (!curl) return reply;
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, AppendReply);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &reply.body);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT, 10L);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    if (postBody) {
        curl_easy_setopt(curl, CURLOPT_POSTFIELDS, postBody->c_str());
        curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE, static_cast<long>(postBody->size()));
    }
    if (curl_easy_perform(curl) == CURLE_OK) curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &reply.status);
    curl_easy_cleanup(curl);
    return reply;
}

CollectorProcess::CollectorProcess() : port_(FreeLocalPort()) {
    const std::wstring commandLine = TestSupport::Quoted(WinePathOf(VANTOREL_PYTHON3)) + L" " +
                                     std::wstring(VANTOREL_COLLECTOR_SCRIPT, VANTOREL_COLLECTOR_SCRIPT +
                                                  strlen(VANTOREL_COLLECTOR_SCRIPT)) +
                                     L" --port " + std::to_wstring(port_) + L" --idle-timeout 60";
    if (!TestSupport::StartProcess(commandLine)) throw std::runtime_error("cannot start the collector");
    for (int attempt = 0; attempt < 100; ++attempt) {
        if (ControlRequest(Base() + "/ping", nullptr).status == 200) return;
        ::Sleep(100);
    }
    throw std::runtime_error("the collector did not come up on port " + std::to_string(port_));
}

CollectorProcess::~CollectorProcess() {
    const std::string empty;
    ControlRequest(Base() + "/shutdown", &empty);
}

std::string CollectorProcess::Base() const { return "http://127.0.0.1:" + std::to_string(port_); }

std::string CollectorProcess::UploadUrl() const { return Base() + "/sa?project=pc"; }

void CollectorProcess::ScriptAnswers(const std::string& jsonList) {
    if (ControlRequest(Base() + "/control/responses", &jsonList).status != 200) {
        throw std::runtime_error("the collector refused the answers " + jsonList);
    }
}

Json::Value CollectorProcess::Uploads() {
    const ControlReply reply = ControlRequest(Base() + "/uploads", nullptr);
    if (reply.status != 200) throw std::runtime_error("the collector did not list its uploads");
    return ParseJson(reply.body);
}

void CollectorProcess::Reset() {
    const std::string empty;
    ControlRequest(Base() + "/reset", &empty);
}

}  // namespace AnalyticsTests
