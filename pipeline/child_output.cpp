#include "pipeline/child_output.h"

#include <windows.h>

#include <algorithm>

#include "pipeline/line_assembler.h"
#include "utils/code_page.h"

namespace ChildOutput {
namespace {

constexpr DWORD kReadSize = 1024;
constexpr DWORD kExitPollMs = 50;

}  // namespace

void ReadUntilExit(const Utils::ChildProcess& child, const std::function<void(const std::string&)>& onLines) {
    const HANDLE pipe = child.OutputReadEnd();
    LineAssembler lines;
    bool exited = false;
    for (;;) {
        DWORD available = 0;
        // Fails once every writer has closed the pipe and it is empty.
        if (!::PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr)) break;
        if (available > 0) {
            char buffer[kReadSize];
            DWORD read = 0;
            if (!::ReadFile(pipe, buffer, std::min(available, kReadSize), &read, nullptr) || read == 0) break;
            const std::string complete = lines.Add(std::string_view(buffer, read));
            if (!complete.empty()) onLines(complete);
            continue;
        }
        // Seen exited on the pass before and nothing came since: what it wrote is read.
        if (exited) break;
        exited = ::WaitForSingleObject(child.Process(), kExitPollMs) == WAIT_OBJECT_0;
    }
    const std::string rest = lines.Finish();
    if (!rest.empty()) onLines(rest);
}

std::wstring Decode(const std::string& bytes, int32_t codePage) {
    const unsigned usable =
        codePage == 0 || ::IsValidCodePage(static_cast<UINT>(codePage)) ? static_cast<unsigned>(codePage) : 0u;
    return Utils::MultiByteToWide(bytes, usable);
}

}  // namespace ChildOutput
