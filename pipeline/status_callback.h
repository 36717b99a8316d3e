#pragma once
#include <cstdint>
#include <functional>

// Every pipeline stage reports through one of these; the text is valid only during the call.
using StatusCallback = std::function<void(int32_t code, double value, const wchar_t* text)>;
