#pragma once
// Reading and decoding what a runner's child prints on its standard output.
#include <cstdint>
#include <functional>
#include <string>

#include "utils/child_process.h"

namespace ChildOutput {

// Hands over the child's output in whole lines (a last unfinished line comes at the
// end) and returns once the child has exited and what it left in the pipe is read.
// It never sleeps while output is waiting, so a flood is read at pipe speed, and it
// does not wait for the pipe to break: a process the child started may have
// inherited the pipe and keep it open long after the child is gone.
void ReadUntilExit(const Utils::ChildProcess& child, const std::function<void(const std::string&)>& onLines);

// Bytes up to the first zero byte, decoded with the code page (0 = ANSI). A code page
// this system does not know decodes as ANSI rather than to nothing.
std::wstring Decode(const std::string& bytes, int32_t codePage);

}  // namespace ChildOutput
