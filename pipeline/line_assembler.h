#pragma once
// Joins the pieces of a child's output into whole lines. A pipe read ends wherever the
// writer's buffer happened to end, so a "State=Fail" line can arrive as "State=Fa" and
// "il"; parsed apart, neither piece would mean anything. No Windows calls here.
#include <cstddef>
#include <string>
#include <string_view>

class LineAssembler {
public:
    // A line that never ends is not held back for ever: past this size the bytes
    // collected so far go on as they are.
    static constexpr size_t kMaxPendingBytes = 64 * 1024;

    // The bytes up to and including the last line end seen so far (empty when there
    // is none yet); what follows it is kept for the next call.
    std::string Add(std::string_view bytes);

    // Whatever is left after the last line end, once the writer has finished.
    std::string Finish();

private:
    std::string pending_;
};
