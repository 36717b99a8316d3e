#pragma once
// The SDK reports its own problems as text lines on standard error; they are for the
// developer and are never shown to the user or uploaded.
#include <string>

namespace usage_analytics {

void WriteDiagnostic(const std::string& line);

}  // namespace usage_analytics
