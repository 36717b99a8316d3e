#pragma once
#include <windows.h>

namespace App {

// The whole run: start-up in a fixed order, the main window's modal loop, teardown.
// Returns the process exit code: 0, or -1 when another instance is running.
int RunInstaller(HINSTANCE instance);

}  // namespace App
