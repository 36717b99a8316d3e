#pragma once
#include <string>

namespace Utils {

// The MD5 of a file's bytes as 32 lower-case hexadecimal digits; empty when the path
// is empty or the file cannot be opened or read to its end. The path is in the ANSI
// code page, as the C runtime's file functions take it.
std::string FileMd5(const std::string& path);

}  // namespace Utils
