#include "tests/analytics/collector_process.h"

#include <stdexcept>

#include "tests/analytics/staged_records.h"
#include "tests/support/host_programs.h"

namespace AnalyticsTests {

using TestSupport::HttpRequest;

CollectorProcess::CollectorProcess() : port_(TestSupport::FreeLocalPort()) {
    const std::string script = VANTOREL_COLLECTOR_SCRIPT;
    TestSupport::StartHostProgram(VANTOREL_PYTHON3, std::wstring(script.begin(), script.end()) + L" --port " +
                                                        std::to_wstring(port_) + L" --idle-timeout 60");
    if (TestSupport::WaitUntilAnswering(Base() + "/ping", 10000)) return;
    throw std::runtime_error("the collector did not come up on port " + std::to_string(port_));
}

CollectorProcess::~CollectorProcess() {
    const std::string empty;
    HttpRequest(Base() + "/shutdown", &empty);
}

std::string CollectorProcess::Base() const { return "http://127.0.0.1:" + std::to_string(port_); }

std::string CollectorProcess::UploadUrl() const { return Base() + "/sa?project=pc"; }

void CollectorProcess::ScriptAnswers(const std::string& jsonList) {
    if (HttpRequest(Base() + "/control/responses", &jsonList).status != 200) {
        throw std::runtime_error("the collector refused the answers " + jsonList);
    }
}

Json::Value CollectorProcess::Uploads() {
    const TestSupport::HttpReply reply = HttpRequest(Base() + "/uploads");
    if (reply.status != 200) throw std::runtime_error("the collector did not list its uploads");
    return ParseJson(reply.body);
}

void CollectorProcess::Reset() {
    const std::string empty;
    HttpRequest(Base() + "/reset", &empty);
}

}  // namespace AnalyticsTests
