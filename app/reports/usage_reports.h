#pragma once
// The installer's usage reports. Fire-and-forget: nothing is returned, no error reaches
// the caller, and every call does nothing while reporting is off or no tracker exists.
#include <map>
#include <string>

namespace Reports {

// {"AB": value}; callers build it per call.
using AbMap = std::map<std::wstring, std::wstring>;

// Creates the process-wide tracker from InstallerConfig when IsEnableAppUsage is set.
void UsageInit();
// Drops the process-wide tracker; its shutdown uploads what is pending.
void UsageRelease();

void UsageTrackTask(const std::wstring& name, float elapsedSeconds, const std::wstring& reason,
                    AbMap abMap);
void UsageTrackClick(AbMap abMap, const std::wstring& name);
void UsageTrackView(AbMap abMap);
void UsageTrackCrash();

}  // namespace Reports
