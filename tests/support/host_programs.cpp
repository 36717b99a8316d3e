#include "tests/support/host_programs.h"

#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>
#include <curl/curl.h>

#include <algorithm>
#include <stdexcept>

#include "tests/support/test_processes.h"

namespace TestSupport {

namespace {

size_t AppendReply(char* data, size_t size, size_t count, void* body) {
    static_cast<std::string*>(body)->append(data, size * count);
    return size * count;
}

}  // namespace

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

void StartHostProgram(const std::string& program, const std::wstring& arguments) {
    if (!StartProcess(Quoted(WinePathOf(program)) + L" " + arguments)) {
        throw std::runtime_error("cannot start " + program);
    }
}

HttpReply HttpRequest(const std::string& url, const std::string* postBody) {
    HttpReply reply;
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

bool WaitUntilAnswering(const std::string& url, unsigned timeoutMs) {
    for (unsigned waited = 0; waited < timeoutMs; waited += 100) {
        if (HttpRequest(url).status == 200) return true;
        ::Sleep(100);
    }
    return false;
}

}  // namespace TestSupport
