#pragma once
// The python3 collector of tests/fixtures/collector, started as a Unix process from the
// Wine test. Wine hands out no usable handle for a Unix child, so it is controlled and
// stopped over HTTP only (and stops by itself when left alone).
#include <json/json.h>

#include <string>

namespace AnalyticsTests {

class CollectorProcess {
public:
    // Starts the collector on a free port and waits until it answers; throws on failure.
    CollectorProcess();
    ~CollectorProcess();
    CollectorProcess(const CollectorProcess&) = delete;
    CollectorProcess& operator=(const CollectorProcess&) = delete;

    // The upload endpoint, "http://127.0.0.1:PORT/sa?project=pc".
    std::string UploadUrl() const;
    // Answers for the next uploads, e.g. R"([{"status":500},{"status":0}])".
    void ScriptAnswers(const std::string& jsonList);
    // Every upload so far: {query, content_type, user_agent, body, error, decoded,
    // records, gzip{xfl, compressed_bytes}, answered}.
    Json::Value Uploads();
    void Reset();

private:
    std::string Base() const;

    unsigned short port_ = 0;
};

}  // namespace AnalyticsTests
