#include "utils/pipe.h"

#include "utils/exception.h"

namespace Utils {

Pipe::Pipe() {
    SECURITY_ATTRIBUTES inheritable = {};
    inheritable.nLength = sizeof(inheritable);
    inheritable.bInheritHandle = TRUE;
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!::CreatePipe(&readEnd, &writeEnd, &inheritable, 0)) throw Exception();
    readEnd_.Reset(readEnd);
    writeEnd_.Reset(writeEnd);
}

void Pipe::Close() noexcept {
    writeEnd_.Reset();
    readEnd_.Reset();
}

}  // namespace Utils
