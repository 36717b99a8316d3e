#include "app/installer_entry.h"

#include <curl/curl.h>

#include <memory>

#include "app/crash_filter.h"
#include "app/library_hardening.h"
#include "app/placeholder_window.h"
#include "app/reports/usage_reports.h"
#include "app/settings/installer_config.h"
#include "utils/named_mutex.h"

namespace App {

int RunInstaller(HINSTANCE instance) {
    InstallCrashFilter();
    HardenLibraryLoading();

    if (::curl_global_init(CURL_GLOBAL_ALL) != CURLE_OK) {
        g_InstallerConfig.CurlReady = false;
        // Comes before UsageInit, so it is dropped; the call documents the event.
        Reports::UsageTrackTask(L"libcurl初始化失败", 0.0f, L"", {{L"AB", L"IN"}});
    }

    Utils::NamedMutex singleInstance(L"Installer_Vantorel");
    singleInstance.Acquire();
    if (!singleInstance.IsAcquired()) return -1;

    // The tracker takes the identity the settings have before the switches apply.
    Reports::UsageInit();
    Settings::ApplyCommandLine(g_InstallerConfig, ::GetCommandLineW());

    // The skinned UI framework (instance, 7z skins, drop-shadow class) is prepared here
    // once it exists; the placeholder needs none of it.
    auto mainWindow = std::make_unique<PlaceholderMainWindow>(instance);
    if (mainWindow->Create()) {
        mainWindow->CenterWindow();
        mainWindow->ShowModal();
    }

    if (g_InstallerConfig.IsEnableAppUsage) Reports::UsageRelease();
    ::curl_global_cleanup();
    mainWindow.reset();
    singleInstance.Release();
    return 0;
}

}  // namespace App
