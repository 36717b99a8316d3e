#pragma once
// What an install attempt decides before and after the pipeline runs, with no screen
// involved: the proposed folder, the checks of the machine, the remover to run, and the
// records written from the package's reports. The window and the console runner both
// go through here, so the two can never disagree.
#include <cstdint>
#include <string>

#include "app/install_state/install_state.h"

class CDownloadInstaller;

namespace InstallRun {

struct AdminFlags {
    bool consoleUserIsAdmin = false;
    bool processIsAdmin = false;
};

// Who sits at the console and whether this process runs elevated.
AdminFlags QueryAdminFlags();

// The folder proposed for the install: the previous install folder when its remover is
// still there, otherwise "Vantorel" under the admin's application data ("ostrel") or
// under the program files folder.
std::wstring DefaultInstallDir(const InstallState& state, const AdminFlags& flags);

enum class Refusal {
    None,
    RemoverRunning,     // "Vantorel_un_asa.exe" runs
    ProductRunning,     // "Vantorel.exe" runs
    InvalidFolder,      // the folder cannot be created
    LowDiskSpace,       // less than 1 GiB available to this user on its drive
};

// The checks that need no prompt, in order; the running-process checks are skipped
// when insNew is set. Creates the folder.
Refusal CheckMachine(const std::wstring& folder, bool insNew);

// The remover the pipeline runs first: the recorded one, or none when the new folder
// is the previous one and that install asks to be kept.
std::wstring RemoverPathFor(const InstallState& state, const std::wstring& folder);

// Hands one attempt's parameters to the pipeline, as every attempt does before Start.
void ConfigurePipeline(CDownloadInstaller& pipeline, const InstallState& state,
                       const std::wstring& folder, bool createDesktopShortcut,
                       bool createStartShortcut, const AdminFlags& flags,
                       const std::wstring& languageCode);

// What the package reported about itself, kept for opening the product afterwards.
struct PackageReport {
    std::wstring exePath;
    std::wstring startUrl;
    int32_t startupStyle = 0;
    uint32_t topShowDelayMs = 3000;
    uint32_t closeDelayMs = 0xFFFFFFFF;
};

// Applies one status code to the install records: "set.ini" when the package starts,
// the folders it reports, and the registry and settings files when it succeeds.
void RecordStatus(InstallState& state, PackageReport& report, int32_t code, double value,
                  const std::wstring& text);

// True for the codes after which this attempt has failed and nothing more follows.
bool EndsAttemptInFailure(int32_t code);

}  // namespace InstallRun
