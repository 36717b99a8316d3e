#include <windows.h>

#include "app/installer_entry.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    return App::RunInstaller(instance);
}
