#pragma once
// The one exception the utilities throw: pipe and child-process creation failures.
// It carries no message; the owner turns it into a launch-failure status code.
#include <exception>

namespace Utils {

class Exception : public std::exception {
public:
    const char* what() const noexcept override { return ""; }
};

}  // namespace Utils
