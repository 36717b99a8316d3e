#include "utils/message_pump.h"

#include <mmsystem.h>

namespace Utils {
namespace {

constexpr DWORD kPumpMilliseconds = 100;

}  // namespace

void PumpMessages(HWND window) {
    const DWORD start = ::timeGetTime();
    for (;;) {
        if (window && !::IsWindow(window)) return;
        const DWORD elapsed = ::timeGetTime() - start;
        if (elapsed >= kPumpMilliseconds) return;
        MSG message;
        if (!::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            // Waiting in GetMessage could block for as long as nothing arrives; the
            // wait is bounded by what is left of the 100 ms instead.
            ::MsgWaitForMultipleObjectsEx(0, nullptr, kPumpMilliseconds - elapsed, QS_ALLINPUT,
                                          MWMO_INPUTAVAILABLE);
            continue;
        }
        if (message.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

}  // namespace Utils
