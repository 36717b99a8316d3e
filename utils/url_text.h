#pragma once
// URL texts the downloaders need: form encoding of a request URL and the digest the
// download service carries in a package's path.
#include <string>
#include <string_view>

namespace Utils {

// Bytes 33 to 126 stay as they are (so "/", ":", "?", "&" and "=" too), a space becomes
// "+", every other byte "%" and two upper-case hexadecimal digits.
std::string UrlEncodeBytes(std::string_view bytes);

// The text between the second-last and the last "/"; empty with fewer than two "/".
std::string GetUrlMd5(const std::string& url);

}  // namespace Utils
