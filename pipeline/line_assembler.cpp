#include "pipeline/line_assembler.h"

#include <utility>

std::string LineAssembler::Add(std::string_view bytes) {
    pending_.append(bytes);
    const size_t lastLineEnd = pending_.rfind('\n');
    if (lastLineEnd == std::string::npos) {
        return pending_.size() > kMaxPendingBytes ? std::exchange(pending_, {}) : std::string();
    }
    std::string complete = pending_.substr(0, lastLineEnd + 1);
    pending_.erase(0, lastLineEnd + 1);
    return complete;
}

std::string LineAssembler::Finish() { return std::exchange(pending_, {}); }
