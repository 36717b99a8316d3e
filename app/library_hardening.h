#pragma once

namespace App {

// Keeps planted DLLs in the installer's folder (usually Downloads) from being loaded:
// system folder only, no current directory, and the libraries that Windows would
// otherwise look up late preloaded from the system folder by full path.
void HardenLibraryLoading();

}  // namespace App
