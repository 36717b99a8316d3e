#include "analytics/sdk/property_checks.h"

#include "analytics/sdk/diagnostics.h"

namespace usage_analytics {

namespace {

bool IsContinuation(unsigned char byte) { return byte >= 0x80 && byte <= 0xBF; }

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// The byte range allowed right after a lead byte, and how many continuations follow
// in total; zero length for a byte that cannot start a sequence.
struct Utf8Lead {
    size_t length;
    unsigned char secondLow;
    unsigned char secondHigh;
};

Utf8Lead ClassifyLead(unsigned char lead) {
    if (lead >= 0xC2 && lead <= 0xDF) return {2, 0x80, 0xBF};
    if (lead == 0xE0) return {3, 0xA0, 0xBF};  // no overlong forms
    if ((lead >= 0xE1 && lead <= 0xEC) || lead == 0xEE || lead == 0xEF) return {3, 0x80, 0xBF};
    if (lead == 0xED) return {3, 0x80, 0x9F};  // no surrogates
    if (lead == 0xF0) return {4, 0x90, 0xBF};
    if (lead >= 0xF1 && lead <= 0xF3) return {4, 0x80, 0xBF};
    if (lead == 0xF4) return {4, 0x80, 0x8F};  // nothing above U+10FFFF
    return {0, 0, 0};
}

}  // namespace

bool IsWellFormedUtf8(std::string_view text) {
    size_t at = 0;
    while (at < text.size()) {
        const auto lead = static_cast<unsigned char>(text[at]);
        if (lead < 0x80) {
            if (lead != 0x09 && lead != 0x0A && lead != 0x0D && (lead < 0x20 || lead > 0x7E)) return false;
            ++at;
            continue;
        }
        const Utf8Lead sequence = ClassifyLead(lead);
        if (sequence.length == 0 || sequence.length > text.size() - at) return false;
        const auto second = static_cast<unsigned char>(text[at + 1]);
        if (second < sequence.secondLow || second > sequence.secondHigh) return false;
        for (size_t next = 2; next < sequence.length; ++next) {
            if (!IsContinuation(static_cast<unsigned char>(text[at + next]))) return false;
        }
        at += sequence.length;
    }
    return true;
}

bool CheckKeyName(const std::string& label, const std::string& name) {
    if (name.empty() || name.size() > kMaxNameBytes) {
        WriteDiagnostic("The " + label + " is empty or too long, max length is 100");
        return false;
    }
    bool first = true;
    for (const char c : name) {
        const bool allowed = IsAsciiLetter(c) || c == '$' || c == '_' || (!first && c >= '0' && c <= '9');
        if (!allowed) {
            WriteDiagnostic("The " + label + " need to be a valid variable name.");
            return false;
        }
        first = false;
    }
    return true;
}

bool CheckId(const std::string& label, const std::string& id) {
    if (id.empty()) {
        WriteDiagnostic("The " + label + " is empty.");
        return false;
    }
    if (id.size() > kMaxIdBytes) {
        WriteDiagnostic("The " + label + " is too long, max length is 255.");
        return false;
    }
    return true;
}

bool CheckStringValue(const std::string& key, const std::string& value) {
    if (value.size() > kMaxStringValueBytes) {
        WriteDiagnostic("String property '" + key + "' is too long, value: " + value);
        return false;
    }
    if (!IsWellFormedUtf8(value)) {
        WriteDiagnostic("String property '" + key + "' is not valid UTF-8 string, value: " + value);
        return false;
    }
    return true;
}

}  // namespace usage_analytics
