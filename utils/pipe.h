#pragma once
// One anonymous pipe whose ends are both inheritable until the owner says otherwise.
#include "utils/unique_handle.h"

namespace Utils {

class Pipe {
public:
    // Throws Utils::Exception when the system cannot create the pipe.
    Pipe();

    KernelHandle& WriteEnd() noexcept { return writeEnd_; }
    KernelHandle& ReadEnd() noexcept { return readEnd_; }
    const KernelHandle& WriteEnd() const noexcept { return writeEnd_; }
    const KernelHandle& ReadEnd() const noexcept { return readEnd_; }

    void Close() noexcept;

private:
    KernelHandle writeEnd_;
    KernelHandle readEnd_;
};

}  // namespace Utils
