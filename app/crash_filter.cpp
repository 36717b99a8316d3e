#include "app/crash_filter.h"

#include <windows.h>

#include "app/reports/usage_reports.h"

namespace App {
namespace {

LONG WINAPI ReportCrash(EXCEPTION_POINTERS*) {
    Reports::UsageTrackTask(L"崩溃退出", 0.0f, L"", {{L"AB", L"IN"}});
    Reports::UsageTrackCrash();
    return EXCEPTION_CONTINUE_SEARCH;
}

}  // namespace

void InstallCrashFilter() { ::SetUnhandledExceptionFilter(ReportCrash); }

}  // namespace App
