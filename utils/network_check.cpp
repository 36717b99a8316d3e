#include "utils/network_check.h"

#include <windows.h>
#include <netlistmgr.h>
#include <objbase.h>

#include <memory>

#include "utils/debug_log.h"

namespace Utils {
namespace {

constexpr CLSID kNetworkListManagerClass = {
    0xDCB00C01, 0x570F, 0x4A9B, {0x8D, 0x69, 0x19, 0x9F, 0xDB, 0xA5, 0x72, 0x3B}};
constexpr IID kNetworkListManagerInterface = {
    0xDCB00000, 0x570F, 0x4A9B, {0x8D, 0x69, 0x19, 0x9F, 0xDB, 0xA5, 0x72, 0x3B}};

struct ComReleaser {
    void operator()(IUnknown* object) const noexcept { object->Release(); }
};

}  // namespace

uint32_t CheckNetworkWith(INetworkListManager& manager) {
    NLM_CONNECTIVITY connectivity = NLM_CONNECTIVITY_DISCONNECTED;
    if (FAILED(manager.GetConnectivity(&connectivity))) connectivity = NLM_CONNECTIVITY_DISCONNECTED;
    uint32_t verdict = kNetworkConnected;
    if (connectivity == NLM_CONNECTIVITY_DISCONNECTED) {
        verdict = kNetworkDisconnected;
        UTILS_LOG(L"Utils::CheckNetwork", 245, L"GetConnectivity %d", static_cast<int>(connectivity));
    } else {
        VARIANT_BOOL connected = VARIANT_FALSE;
        // A query that fails leaves the question open, which counts as connected.
        if (SUCCEEDED(manager.IsConnectedToInternet(&connected)) && connected == VARIANT_FALSE) {
            verdict = kNetworkNoInternet;
            UTILS_LOG(L"Utils::CheckNetwork", 254, L"get_IsConnectedToInternet:%d", static_cast<int>(connected));
        }
    }
    return (static_cast<uint32_t>(connectivity) & 0xFFFFu) | (verdict << 16);
}

uint32_t CheckNetwork() {
    INetworkListManager* rawManager = nullptr;
    if (FAILED(::CoCreateInstance(kNetworkListManagerClass, nullptr, CLSCTX_ALL, kNetworkListManagerInterface,
                                  reinterpret_cast<void**>(&rawManager))) ||
        !rawManager) {
        return 0;
    }
    uint32_t value = 0;
    {
        std::unique_ptr<INetworkListManager, ComReleaser> manager(rawManager);
        value = CheckNetworkWith(*manager);
    }
    ::CoFreeUnusedLibraries();
    return value;
}

}  // namespace Utils
