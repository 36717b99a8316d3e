#pragma once
// Lets the calling thread's windows repaint and react for a moment before it does
// something that may take the foreground, such as opening another program.
#include <windows.h>

namespace Utils {

// Dispatches the thread's messages for about 100 ms, while the window exists (or
// regardless of a window when it is null). A WM_QUIT taken from the queue is posted
// again, so the caller's own loop still ends.
void PumpMessages(HWND window);

}  // namespace Utils
