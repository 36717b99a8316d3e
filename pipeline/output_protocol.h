#pragma once
// The line grammar shared by the package and the old uninstaller: "Key=value" lines,
// a key matching when the line begins with it. No Windows calls here.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace OutputProtocol {

// String values are read into a buffer of this many characters; a value that does not
// fit (this long or longer) is taken as empty.
constexpr size_t kValueCapacity = 772;

// Splits at "\n"; a "\r" before it stays in the line.
std::vector<std::wstring_view> SplitLines(std::wstring_view text);

// The rest of the line after the key, or nothing when the line does not begin with it.
std::optional<std::wstring_view> AfterKey(std::wstring_view line, std::wstring_view key);

// The text of a string value, carriage return included; empty when it does not fit.
std::wstring StringValue(std::wstring_view rest);

// Leading and trailing white space removed, for values compared against words.
std::wstring_view TrimmedWord(std::wstring_view rest);

// A floating-point number at the start of the value (leading blanks allowed), 0.0
// when there is none.
double NumberValue(std::wstring_view rest);

// A decimal integer at the start of the value (leading blanks and a sign allowed);
// `consumed` gets the characters read. Nothing when no digit follows. Values beyond
// 32 bits keep their low 32 bits, as a 32-bit conversion would store them.
std::optional<int32_t> IntegerValue(std::wstring_view rest, size_t* consumed = nullptr);

}  // namespace OutputProtocol
