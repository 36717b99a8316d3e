#include "utils/text_helpers.h"

#include <iterator>

namespace Utils {

std::wstring UnsignedToDecimal(uint64_t value) {
    wchar_t digits[20];
    size_t count = 0;
    do {
        digits[count++] = static_cast<wchar_t>(L'0' + value % 10);
        value /= 10;
    } while (value != 0);
    return std::wstring(std::make_reverse_iterator(digits + count), std::make_reverse_iterator(digits));
}

}  // namespace Utils
