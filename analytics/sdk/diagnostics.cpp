#include "analytics/sdk/diagnostics.h"

#include <iostream>

namespace usage_analytics {

void WriteDiagnostic(const std::string& line) {
    // One write per line, so lines from different threads do not interleave.
    std::cerr << (line + '\n') << std::flush;
}

}  // namespace usage_analytics
