#include "app/reports/usage_reports.h"

namespace Reports {

// The analytics tracker is not part of this build yet. Without a tracker every report
// is dropped, exactly as when analytics was switched off before start-up; UsageInit is
// where the tracker will be created from InstallerConfig.

void UsageInit() {}

void UsageRelease() {}

void UsageTrackTask(const std::wstring&, float, const std::wstring&, AbMap) {}

void UsageTrackClick(AbMap, const std::wstring&) {}

void UsageTrackView(AbMap) {}

void UsageTrackCrash() {}

}  // namespace Reports
