#include "pipeline/remover_output_parser.h"

#include <string>

#include "pipeline/output_protocol.h"

int RemoverOutputParser::Parse(std::wstring_view text) {
    int result = kNoTerminalLine;
    for (const std::wstring_view line : OutputProtocol::SplitLines(text)) {
        const int lineResult = ParseLine(line);
        if (lineResult != kNoTerminalLine) result = lineResult;
    }
    return result;
}

int RemoverOutputParser::ParseLine(std::wstring_view line) {
    using OutputProtocol::AfterKey;
    const auto send = [this](int32_t code, double value, const std::wstring& text) {
        if (callback_) callback_(code, value, text.c_str());
    };
    if (const auto rest = AfterKey(line, L"Progress=")) {
        send(UNIST_CODE_PROGRESS, OutputProtocol::NumberValue(*rest), {});
    } else if (const auto rest = AfterKey(line, L"Error=")) {
        send(UNIST_CODE_ERROR, 0.0, OutputProtocol::StringValue(*rest));
        return kFailed;
    } else if (const auto rest = AfterKey(line, L"State=")) {
        const std::wstring value = OutputProtocol::StringValue(*rest);
        const std::wstring_view word = OutputProtocol::TrimmedWord(value);
        if (word == L"Success") {
            send(UNIST_CODE_SUCCESS, 0.0, {});
            return kSucceeded;
        }
        if (word == L"Fail") {
            send(UNIST_CODE_ERROR, 0.0, L"安装包卸载失败");
            return kFailed;
        }
    } else if (const auto rest = AfterKey(line, L"Encode=")) {
        const std::wstring value = OutputProtocol::StringValue(*rest);
        outputCodePage_ = OutputProtocol::TrimmedWord(value) == L"UTF8" ? 65001 : 0;
    }
    return kNoTerminalLine;
}
