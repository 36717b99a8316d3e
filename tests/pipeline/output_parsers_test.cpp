#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pipeline/package_output_parser.h"
#include "pipeline/remover_output_parser.h"
#include "tests/pipeline/runner_status_recorder.h"

namespace {

struct ParseCase {
    std::wstring text;
    std::vector<Status> expected;
    int result;
};

const std::wstring kLongest(771, L'x');    // the longest value that fits the buffer
const std::wstring kTooLong(772, L'x');

TEST(PackageOutputParser, EveryKeyGivesItsCode) {
    const ParseCase cases[] = {
        {L"Progress=0.35\r\n", {{2002, 0.35, L""}}, 0},
        {L"Progress= 1\n", {{2002, 1.0, L""}}, 0},
        {L"Progress=half\n", {{2002, 0.0, L""}}, 0},
        {L"InstPath=C:\\Program Files\\Vantorel\r\n", {{3000, 0.0, L"C:\\Program Files\\Vantorel\r"}}, 0},
        {L"InstPath=\n", {{3000, 0.0, L""}}, 0},
        {L"State=Success\r\n", {{2003, 0.0, L""}}, 1},
        {L"State= \tSuccess \r\n", {{2003, 0.0, L""}}, 1},
        {L"State=success\r\n", {}, 0},
        {L"State=Fail\n", {{2004, 0.0, L"安装包安装失败"}}, 1000},
        {L"State=Done\n", {}, 0},
        {L"InstallVersion=2.3.4\n", {}, 0},
        {L"ExePath=C:\\V\\Vantorel.exe\r\n", {{3001, 0.0, L"C:\\V\\Vantorel.exe\r"}}, 0},
        {L"StartExe=C:\\V\\Start.exe\n", {{3001, 0.0, L"C:\\V\\Start.exe"}}, 0},
        // "UninstExePath=" is tested before "UninstExe=", which is a prefix of it.
        {L"UninstExePath=C:\\V\\uninst.exe\n", {{3002, 0.0, L"C:\\V\\uninst.exe"}}, 0},
        {L"UninstExe=C:\\V\\u.exe\n", {{3002, 0.0, L"C:\\V\\u.exe"}}, 0},
        {L"UninstEp=C:\\V\\uninst.ep\r\n", {{3003, 0.0, L"C:\\V\\uninst.ep\r"}}, 0},
        {L"Error=磁盘空间不足\r\n", {{2004, 1000.0, L"磁盘空间不足\r"}}, 1000},
        {L"TopShowDetention=-1\n", {{3007, 4294967295.0, L""}}, 0},
        {L"TopShowDetention=2500\r\n", {{3007, 2500.0, L""}}, 0},
        {L"TopShowDetention=soon\n", {{3007, 0.0, L""}}, 0},
        {L"FinsihCloseDetention=5000\n", {{3008, 5000.0, L""}}, 0},
        {L"FinishCloseDetention=5000\n", {}, 0},  // only the key as the packages print it
        {L"StartUrl=https://vantorel.com/welcome?a=1&b=2\r\n",
         {{3004, 0.0, L"https://vantorel.com/welcome?a=1&b=2\r"}}, 0},
        {L"StartupStyle=NonStartup\n", {{3005, 0.0, L""}}, 0},
        {L"StartupStyle=AutoStartup\r\n", {{3005, 1.0, L""}}, 0},
        {L"StartupStyle= UserStartup \r\n", {{3005, 2.0, L""}}, 0},
        {L"StartupStyle=userstartup\n", {{3005, 0.0, L""}}, 0},
        {L"Message=你好\r\n", {{3009, 0.0, L"你好\r"}}, 0},
        {L"Message=" + kLongest + L"\n", {{3009, 0.0, kLongest}}, 0},
        {L"Message=" + kTooLong + L"\n", {{3009, 0.0, L""}}, 0},
        {L"Error=" + kTooLong, {{2004, 1000.0, L""}}, 1000},
        {L"  Progress=0.5\nprogress=0.5\nUnknown=1\n\n", {}, 0},
        {L"Progress=0.5\nState=Success\n", {{2002, 0.5, L""}, {2003, 0.0, L""}}, 1},
        {L"State=Fail\r\nState=Success\r\n", {{2004, 0.0, L"安装包安装失败"}, {2003, 0.0, L""}}, 1},
        {L"State=Success\nError=late", {{2003, 0.0, L""}, {2004, 1000.0, L"late"}}, 1000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.text));
        StatusRecorder recorder;
        PackageOutputParser parser(recorder.Callback());
        EXPECT_EQ(parser.Parse(c.text), c.result);
        EXPECT_EQ(recorder.Records(), c.expected);
    }
}

TEST(PackageOutputParser, EncodeChoosesTheCodePageOfLaterOutput) {
    struct Case {
        const wchar_t* value;
        int32_t codePage;
    };
    const Case cases[] = {
        {L"UTF8", 65001}, {L"ACP", 0},   {L"936", 936},   {L" 936 \r", 936}, {L"936abc", 936},
        {L"utf8", 0},     {L"GBK", 0},   {L"", 0},        {L"-5", 0},        {L"99999999999", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(std::wstring(c.value)));
        StatusRecorder recorder;
        PackageOutputParser parser(recorder.Callback());
        parser.Parse(L"Encode=UTF8\n");  // a value that is no code page must not keep the old one
        parser.Parse(std::wstring(L"Encode=") + c.value + L"\n");
        EXPECT_EQ(parser.OutputCodePage(), c.codePage);
        EXPECT_TRUE(recorder.Records().empty());
    }
}

TEST(PackageOutputParser, InstallVersionKeepsTheNumbersReadBeforeAMismatch) {
    struct Case {
        const wchar_t* line;
        std::array<int32_t, 3> version;
    };
    const Case cases[] = {
        {L"InstallVersion=2.3.4\r\n", {2, 3, 4}},
        {L"InstallVersion=5.6\n", {5, 6, 0}},
        {L"InstallVersion=beta\n", {0, 0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(std::wstring(c.line)));
        PackageOutputParser parser(nullptr);
        parser.Parse(c.line);
        EXPECT_EQ(parser.InstalledVersion(), c.version);
    }
}

TEST(PackageOutputParser, ExePathIsAlsoHandedToTheLogHook) {
    std::wstring logged;
    StatusRecorder recorder;
    PackageOutputParser parser(recorder.Callback(), [&](const std::wstring& path) { logged = path; });
    parser.Parse(L"ExePath=C:\\V\\Vantorel.exe\r\n");
    EXPECT_EQ(logged, L"C:\\V\\Vantorel.exe\r");
}

TEST(RemoverOutputParser, FourKeysInTheirOwnOrder) {
    const ParseCase cases[] = {
        {L"Progress=0.25\r\n", {{5002, 0.25, L""}}, 0},
        {L"Progress=x\n", {{5002, 0.0, L""}}, 0},
        {L"Error=文件被占用\r\n", {{5005, 0.0, L"文件被占用\r"}}, 1000},
        {L"Error=" + kTooLong + L"\n", {{5005, 0.0, L""}}, 1000},
        {L"Error=" + kLongest + L"\n", {{5005, 0.0, kLongest}}, 1000},
        {L"State= Success \r\n", {{5003, 0.0, L""}}, 1},
        {L"State=Fail\r\n", {{5005, 0.0, L"安装包卸载失败"}}, 1000},
        {L"State=fail\n", {}, 0},
        // The package's other keys mean nothing to the remover.
        {L"InstPath=C:\\V\nMessage=hi\nTopShowDetention=1\n", {}, 0},
        {L"State=Success\nProgress=0.5\n", {{5003, 0.0, L""}, {5002, 0.5, L""}}, 1},
        {L"Error=a\nState=Success\n", {{5005, 0.0, L"a"}, {5003, 0.0, L""}}, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.text));
        StatusRecorder recorder;
        RemoverOutputParser parser(recorder.Callback());
        EXPECT_EQ(parser.Parse(c.text), c.result);
        EXPECT_EQ(recorder.Records(), c.expected);
    }
}

TEST(RemoverOutputParser, OnlyUtf8ChangesTheCodePage) {
    struct Case {
        const wchar_t* value;
        int32_t codePage;
    };
    const Case cases[] = {{L"UTF8", 65001}, {L" UTF8\r", 65001}, {L"936", 0}, {L"ACP", 0}, {L"utf8", 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(std::wstring(c.value)));
        RemoverOutputParser parser(nullptr);
        parser.Parse(L"Encode=UTF8\n");
        parser.Parse(std::wstring(L"Encode=") + c.value + L"\n");
        EXPECT_EQ(parser.OutputCodePage(), c.codePage);
    }
}

}  // namespace
