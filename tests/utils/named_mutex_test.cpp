#include <gtest/gtest.h>

#include "utils/named_mutex.h"

namespace {

TEST(NamedMutex, KernelNameCarriesTheFixedPrefix) {
    EXPECT_EQ(Utils::NamedMutex::KernelName(L"Installer_Vantorel"),
              L"D1A547DB89C0BC61_Installer_Vantorel");
}

TEST(NamedMutex, OnlyTheFirstHolderAcquires) {
    const std::wstring name = L"VantorelTest_" + std::to_wstring(::GetCurrentProcessId());
    Utils::NamedMutex first(name), second(name);
    first.Acquire();
    ASSERT_TRUE(first.IsAcquired());
    second.Acquire();
    EXPECT_FALSE(second.IsAcquired());

    first.Release();
    EXPECT_FALSE(first.IsAcquired());
    second.Acquire();
    EXPECT_TRUE(second.IsAcquired());
}

TEST(NamedMutex, SecondAcquireOnAHeldObjectKeepsIt) {
    Utils::NamedMutex guard(L"VantorelTestTwice_" + std::to_wstring(::GetCurrentProcessId()));
    guard.Acquire();
    ASSERT_TRUE(guard.IsAcquired());
    guard.Acquire();
    EXPECT_TRUE(guard.IsAcquired());
    // Still the owner: a second object sees the name taken.
    Utils::NamedMutex other(guard.Name());
    other.Acquire();
    EXPECT_FALSE(other.IsAcquired());
}

}  // namespace
