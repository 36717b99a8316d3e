#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>

#include "app/settings/installer_config.h"
#include "tests/support/test_files.h"

namespace {

constexpr wchar_t kUrl[] = L"https://download.vantorel.com/software/467";

void ExpectSameConfig(const InstallerConfig& actual, const InstallerConfig& expected) {
    EXPECT_EQ(actual.AppName, expected.AppName);
    EXPECT_EQ(actual.AppVersion, expected.AppVersion);
    EXPECT_EQ(actual.ExeName, expected.ExeName);
    EXPECT_EQ(actual.DlAppNameSuffix, expected.DlAppNameSuffix);
    EXPECT_EQ(actual.DlAppVersion, expected.DlAppVersion);
    EXPECT_EQ(actual.InstCmd, expected.InstCmd);
    EXPECT_EQ(actual.DownloadUrl, expected.DownloadUrl);
    EXPECT_EQ(actual.DownloadType, expected.DownloadType);
    EXPECT_EQ(actual.IsCheckNet, expected.IsCheckNet);
    EXPECT_EQ(actual.IsEnableAppUsage, expected.IsEnableAppUsage);
    if (std::isnan(expected.DownloadScale)) {
        EXPECT_TRUE(std::isnan(actual.DownloadScale));
    } else {
        EXPECT_DOUBLE_EQ(actual.DownloadScale, expected.DownloadScale);
    }
    EXPECT_EQ(actual.CurlReady, expected.CurlReady);
    EXPECT_EQ(actual.AbValue, expected.AbValue);
    EXPECT_EQ(actual.Language, expected.Language);
    EXPECT_EQ(actual.InsNew, expected.InsNew);
}

// The record a run gets with no configuration file and no switches.
InstallerConfig Defaults() {
    InstallerConfig config;
    config.ExeName = L"VantorelInstaller.exe";
    return config;
}

// The record with a configuration file whose section lacks every key.
InstallerConfig FileDefaults() {
    InstallerConfig config = Defaults();
    config.IsCheckNet = true;
    return config;
}

struct FileCase {
    const char* label;
    const char* fileText;  // nullptr: no file at all
    std::function<void(InstallerConfig&)> expect;
};

TEST(InstallerConfigFile, Table) {
    const FileCase cases[] = {
        {"no file: compiled defaults", nullptr, [](InstallerConfig& c) { c = Defaults(); }},
        {"empty section: IsCheckNet becomes true", "[Install]\r\n",
         [](InstallerConfig& c) { c = FileDefaults(); }},
        {"other section only", "[Other]\r\nDownloadType=3\r\n",
         [](InstallerConfig& c) { c = FileDefaults(); }},
        {"every key",
         "[Install]\r\nDownloadUrl=http://127.0.0.1:8080/software/467\r\nDownloadType=3\r\n"
         "IsCheckNet=false\r\nIsEnableAppUsage=false\r\nDlAppNameSuffix=.web\r\n"
         "m_DlAppVersion=2.0.1\r\nDownloadScale=0.5\r\nInstCmd=/quick\r\n",
         [](InstallerConfig& c) {
             c = Defaults();
             c.DownloadUrl = L"http://127.0.0.1:8080/software/467";
             c.DownloadType = 3;
             c.IsEnableAppUsage = false;
             c.DlAppNameSuffix = L".web";
             c.DlAppVersion = L"2.0.1";
             c.DownloadScale = 0.5;
             c.InstCmd = L"/quick";
         }},
        {"booleans are exactly true", "[Install]\r\nIsCheckNet=True\r\nIsEnableAppUsage=1\r\n",
         [](InstallerConfig& c) {
             c = Defaults();
             c.IsEnableAppUsage = false;
         }},
        {"route token twice", "[Install]\r\nDownloadUrl=https://h/${ROUTE}/x/${ROUTE}/software/467\r\n",
         [](InstallerConfig& c) {
             c = FileDefaults();
             c.DownloadUrl = L"https://h/download_silent/x/download_silent/software/467";
         }},
        {"numbers without digits", "[Install]\r\nDownloadType=abc\r\nDownloadScale=abc\r\n",
         [](InstallerConfig& c) {
             c = FileDefaults();
             c.DownloadType = 0;
             c.DownloadScale = 0.0;
         }},
        {"scale out of range is no number", "[Install]\r\nDownloadScale=1e999\r\n",
         [](InstallerConfig& c) {
             c = FileDefaults();
             c.DownloadScale = 0.0;
         }},
        {"product name and version cannot be changed",
         "[Install]\r\nAppName=Other\r\nAppVersion=9.9\r\nAbValue=OUT\r\nLanguage=3\r\nInsNew=true\r\n",
         [](InstallerConfig& c) { c = FileDefaults(); }},
        {"profile sections and keys follow the Windows rules: any case",
         "[install]\r\ndownloadtype=2\r\n",
         [](InstallerConfig& c) {
             c = FileDefaults();
             c.DownloadType = 2;
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        TestSupport::TempFolder folder;
        if (c.fileText) folder.WriteFile(L"QuillmarkInstallerConfig.ini", c.fileText);
        InstallerConfig expected;
        c.expect(expected);
        ExpectSameConfig(Settings::LoadInstallerConfig((folder.Path() / L"VantorelInstaller.exe").wstring()),
                         expected);
    }
}

TEST(InstallerConfigFile, ValuesAreCutTo259Characters) {
    const std::string longUrl = "https://h/" + std::string(400, 'u');
    const std::string longText(300, 't');
    TestSupport::TempFolder folder;
    folder.WriteFile(L"QuillmarkInstallerConfig.ini",
                     "[Install]\r\nDownloadUrl=" + longUrl + "\r\nInstCmd=" + longText +
                         "\r\nm_DlAppVersion=" + longText + "\r\n");
    const InstallerConfig config =
        Settings::LoadInstallerConfig((folder.Path() / L"VantorelInstaller.exe").wstring());
    EXPECT_EQ(config.DownloadUrl, std::wstring(longUrl.begin(), longUrl.begin() + 259));
    EXPECT_EQ(config.InstCmd, std::wstring(259, L't'));
    EXPECT_EQ(config.DlAppVersion, std::wstring(259, L't'));
}

TEST(InstallerConfigFile, BuiltDuringStaticInitialisationFromTheRunningProgram) {
    EXPECT_EQ(g_InstallerConfig.ExeName, L"settings_tests.exe");
    EXPECT_EQ(g_InstallerConfig.AppName, L"Vantorel");
    EXPECT_EQ(g_InstallerConfig.DownloadUrl, kUrl);
}

struct SwitchCase {
    const char* label;
    const wchar_t* commandLine;
    std::function<void(InstallerConfig&)> change;
};

TEST(InstallerConfigSwitches, Table) {
    const SwitchCase cases[] = {
        {"no switches", L"VantorelInstaller.exe", [](InstallerConfig&) {}},
        {"every switch",
         L"VantorelInstaller.exe -downloadurl=http://127.0.0.1/software/467 -downloadtype=3 "
         L"-downloadscale=0.5 -ischecknet=true -isenableappusage=false -dlappnamesuffix=.s "
         L"-dlappversion=3.1 -instcmd=/x -language=2 -insnew=true",
         [](InstallerConfig& c) {
             c.DownloadUrl = L"http://127.0.0.1/software/467";
             c.DownloadType = 3;
             c.DownloadScale = 0.5;
             c.IsCheckNet = true;
             c.IsEnableAppUsage = false;
             c.DlAppNameSuffix = L".s";
             c.DlAppVersion = L"3.1";
             c.InstCmd = L"/x";
             c.Language = 2;
             c.InsNew = true;
         }},
        {"first of two wins", L"x.exe -downloadtype=2 -downloadtype=3 -language=1 -language=0",
         [](InstallerConfig& c) {
             c.DownloadType = 2;
             c.Language = 1;
         }},
        {"capitalised keys are ignored", L"x.exe -DownloadType=3 -IsCheckNet=true -DOWNLOADURL=http://a",
         [](InstallerConfig&) {}},
        {"booleans need exactly true", L"x.exe -ischecknet=True -insnew -isenableappusage=1",
         [](InstallerConfig& c) { c.IsEnableAppUsage = false; }},
        {"scale without a number is not-a-number", L"x.exe -downloadscale=abc",
         [](InstallerConfig& c) { c.DownloadScale = std::nan(""); }},
        {"scale with an empty value is not-a-number", L"x.exe -downloadscale=",
         [](InstallerConfig& c) { c.DownloadScale = std::nan(""); }},
        {"scale given alone is not-a-number", L"x.exe -downloadscale",
         [](InstallerConfig& c) { c.DownloadScale = std::nan(""); }},
        {"integers stop at the first non-digit", L"x.exe -downloadtype=12abc -language=xyz",
         [](InstallerConfig& c) {
             c.DownloadType = 12;
             c.Language = 0;
         }},
        {"out-of-range numbers do not stop the process",
         L"x.exe -downloadtype=99999999999 -language=-99999999999 -downloadscale=1e999",
         [](InstallerConfig& c) {
             c.DownloadType = 0;
             c.Language = 0;
             c.DownloadScale = std::nan("");
         }},
        {"quoted switch keeps its spaces", L"x.exe \"-instcmd=/D=C:\\Program Files\\V\" plain",
         [](InstallerConfig& c) { c.InstCmd = L"/D=C:\\Program Files\\V"; }},
        {"route expanded in the switch", L"x.exe -downloadurl=https://h/${ROUTE}/${ROUTE}",
         [](InstallerConfig& c) { c.DownloadUrl = L"https://h/download_silent/download_silent"; }},
        {"empty url value is stored", L"x.exe -downloadurl=", [](InstallerConfig& c) { c.DownloadUrl = L""; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        InstallerConfig expected = Defaults();
        c.change(expected);
        InstallerConfig actual = Defaults();
        Settings::ApplyCommandLine(actual, c.commandLine);
        ExpectSameConfig(actual, expected);
    }
}

TEST(InstallerConfigSwitches, SwitchValuesAreNotCut) {
    const std::wstring longValue(600, L'q');
    InstallerConfig config = Defaults();
    Settings::ApplyCommandLine(config, (L"x.exe -instcmd=" + longValue).c_str());
    EXPECT_EQ(config.InstCmd, longValue);
}

}  // namespace
