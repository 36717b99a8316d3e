#include "utils/named_mutex.h"

namespace Utils {

std::wstring NamedMutex::KernelName(const std::wstring& name) {
    return L"D1A547DB89C0BC61_" + name;
}

void NamedMutex::Acquire() {
    if (handle_) return;
    handle_.Reset(::CreateMutexW(nullptr, TRUE, KernelName(name_).c_str()));
    if (handle_ && ::GetLastError() == ERROR_ALREADY_EXISTS) handle_.Reset();
}

void NamedMutex::Release() {
    if (!handle_) return;
    ::ReleaseMutex(handle_.Get());
    handle_.Reset();
}

}  // namespace Utils
