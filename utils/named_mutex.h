#pragma once
// A machine-wide guard that tells whether this process is the only one of its kind.
#include <string>

#include "utils/unique_handle.h"

namespace Utils {

class NamedMutex {
public:
    explicit NamedMutex(std::wstring name) : name_(std::move(name)) {}

    // Creates the kernel object "D1A547DB89C0BC61_" + name, owning it. If another
    // process already made it, the handle is dropped again. Does nothing while held.
    void Acquire();
    bool IsAcquired() const noexcept { return static_cast<bool>(handle_); }
    // Gives up ownership and closes the handle.
    void Release();

    const std::wstring& Name() const noexcept { return name_; }
    static std::wstring KernelName(const std::wstring& name);

private:
    std::wstring name_;
    KernelHandle handle_;
};

}  // namespace Utils
