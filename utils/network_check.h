#pragma once
// Asks the system's Network List Manager whether this machine reaches the Internet.
#include <cstdint>

struct INetworkListManager;

namespace Utils {

// Verdicts, in bits 16-31 of CheckNetwork's value.
enum NetworkVerdict : uint32_t {
    kNetworkConnected = 0,       // or the check could not run
    kNetworkDisconnected = 1,    // no connectivity at all
    kNetworkNoInternet = 2,      // a network, but no Internet
};

// The NLM_CONNECTIVITY flags in bits 0-15, the verdict in bits 16-31. Needs COM on the
// calling thread; without it the manager cannot be created and the value is 0.
uint32_t CheckNetwork();

// The verdict from a manager already created: CheckNetwork without the creation.
uint32_t CheckNetworkWith(INetworkListManager& manager);

constexpr uint32_t NetworkVerdictOf(uint32_t value) { return value >> 16; }

}  // namespace Utils
