#pragma once
// Test peers that are Unix programs (python3 servers, nginx), started from a Wine test
// through drive Z:. Wine gives no usable handle for such a child, so the peers are
// controlled and stopped over HTTP, and stop by themselves when left alone.
#include <string>

namespace TestSupport {

// The Wine path (drive Z:) of a Unix path.
std::wstring WinePathOf(const std::string& unixPath);

// A TCP port on 127.0.0.1 that nothing listens on right now.
unsigned short FreeLocalPort();

// Starts a Unix program; throws when it cannot be started.
void StartHostProgram(const std::string& program, const std::wstring& arguments);

struct HttpReply {
    long status = -1;
    std::string body;
};
// A plain GET (or a POST of postBody) with a 10 s limit; status -1 when it failed.
HttpReply HttpRequest(const std::string& url, const std::string* postBody = nullptr);

// Polls url until it answers 200, up to timeoutMs.
bool WaitUntilAnswering(const std::string& url, unsigned timeoutMs);

}  // namespace TestSupport
