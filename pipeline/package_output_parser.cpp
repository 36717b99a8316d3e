#include "pipeline/package_output_parser.h"

#include <limits>

#include "pipeline/output_protocol.h"

namespace {

using OutputProtocol::AfterKey;
using OutputProtocol::StringValue;
using OutputProtocol::TrimmedWord;

int32_t StartupStyleOf(std::wstring_view word) {
    if (word == L"AutoStartup") return 1;
    if (word == L"UserStartup") return 2;
    return 0;  // "NonStartup" and anything unknown
}

// "UTF8", "ACP", or a code page number; anything else is the ANSI code page.
int32_t CodePageOf(std::wstring_view word) {
    if (word == L"UTF8") return 65001;
    if (word == L"ACP") return 0;
    int64_t number = 0;
    size_t digits = 0;
    for (; digits < word.size() && word[digits] >= L'0' && word[digits] <= L'9'; ++digits) {
        number = number * 10 + (word[digits] - L'0');
        if (number > std::numeric_limits<int32_t>::max()) return 0;
    }
    return static_cast<int32_t>(number);
}

// A "%d" value sent as a number: the 32 bits read as unsigned, so -1 is 4294967295.
double DetentionOf(std::wstring_view rest) {
    const auto number = OutputProtocol::IntegerValue(rest);
    return static_cast<double>(static_cast<uint32_t>(number.value_or(0)));
}

}  // namespace

int PackageOutputParser::Parse(std::wstring_view text) {
    int result = kNoTerminalLine;
    for (const std::wstring_view line : OutputProtocol::SplitLines(text)) {
        const int lineResult = ParseLine(line);
        if (lineResult != kNoTerminalLine) result = lineResult;
    }
    return result;
}

void PackageOutputParser::Send(int32_t code, double value, const std::wstring& text) const {
    if (callback_) callback_(code, value, text.c_str());
}

int PackageOutputParser::ParseLine(std::wstring_view line) {
    if (const auto rest = AfterKey(line, L"Progress=")) {
        Send(IST_CODE_PROGRESS, OutputProtocol::NumberValue(*rest));
    } else if (const auto rest = AfterKey(line, L"InstPath=")) {
        Send(IST_CODE_INSTPATH, 0.0, StringValue(*rest));
    } else if (const auto rest = AfterKey(line, L"State=")) {
        const std::wstring value = StringValue(*rest);
        const std::wstring_view word = TrimmedWord(value);
        if (word == L"Success") {
            Send(INSTALL_SUCCESS, 0.0);
            return kSucceeded;
        }
        if (word == L"Fail") {
            Send(IST_CODE_FAIL, 0.0, L"安装包安装失败");
            return kFailed;
        }
    } else if (auto rest = AfterKey(line, L"InstallVersion=")) {
        // Like a "%d.%d.%d" conversion: the numbers read before a mismatch are kept.
        for (size_t part = 0; part < installedVersion_.size(); ++part) {
            if (part > 0) {
                if (!rest->starts_with(L'.')) break;
                rest->remove_prefix(1);
            }
            size_t consumed = 0;
            const auto number = OutputProtocol::IntegerValue(*rest, &consumed);
            if (!number) break;
            installedVersion_[part] = *number;
            rest->remove_prefix(consumed);
        }
    } else if (const auto rest = AfterKey(line, L"ExePath=")) {
        const std::wstring value = StringValue(*rest);
        if (onExePath_) onExePath_(value);
        Send(IST_CODE_EXEPATH, 0.0, value);
    } else if (const auto rest = AfterKey(line, L"StartExe=")) {
        Send(IST_CODE_EXEPATH, 0.0, StringValue(*rest));
    } else if (const auto rest = AfterKey(line, L"UninstExePath=")) {
        Send(IST_CODE_UNINSTEXEPATH, 0.0, StringValue(*rest));
    } else if (const auto rest = AfterKey(line, L"UninstExe=")) {
        Send(IST_CODE_UNINSTEXEPATH, 0.0, StringValue(*rest));
    } else if (const auto rest = AfterKey(line, L"UninstEp=")) {
        Send(IST_CODE_UNINSTEP, 0.0, StringValue(*rest));
    } else if (const auto rest = AfterKey(line, L"Error=")) {
        Send(IST_CODE_FAIL, 1000.0, StringValue(*rest));
        return kFailed;
    } else if (const auto rest = AfterKey(line, L"TopShowDetention=")) {
        Send(IST_CODE_TOPSHOWDETENTION, DetentionOf(*rest));
    } else if (const auto rest = AfterKey(line, L"FinsihCloseDetention=")) {
        Send(IST_CODE_FINISHCLOSEDETENTION, DetentionOf(*rest));
    } else if (const auto rest = AfterKey(line, L"StartUrl=")) {
        Send(IST_CODE_STARTURL, 0.0, StringValue(*rest));
    } else if (const auto rest = AfterKey(line, L"StartupStyle=")) {
        const std::wstring value = StringValue(*rest);
        Send(IST_CODE_STARTUPSTYLE, StartupStyleOf(TrimmedWord(value)));
    } else if (const auto rest = AfterKey(line, L"Encode=")) {
        const std::wstring value = StringValue(*rest);
        outputCodePage_ = CodePageOf(TrimmedWord(value));
    } else if (const auto rest = AfterKey(line, L"Message=")) {
        Send(IST_CODE_MESSAGE, 0.0, StringValue(*rest));
    }
    return kNoTerminalLine;
}
