#pragma once

namespace App {

// Reports an unhandled exception from any thread, then lets Windows handle it.
void InstallCrashFilter();

}  // namespace App
