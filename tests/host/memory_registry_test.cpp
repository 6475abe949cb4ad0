#include "memory_registry.h"

#include <gtest/gtest.h>

namespace nimbrel {
namespace {

using Value = MemoryRegistry::Value;

const std::uint8_t kBytes[] = {1, 2, 3, 4};

// Paths, refusals and handle counts are exercised through the policy store's tests.
TEST(MemoryRegistry, NamesIgnoreCaseSoAWriteReplaces) {
    MemoryRegistry registry;
    registry.Write("Key", "nodrives", {1, {'x', 0}});
    RegKey key = kNullKey;
    ASSERT_EQ(registry.CreateKey(kCurrentUser, "KEY", &key), kSuccess);
    EXPECT_EQ(registry.SetValueEx(key, "NoDrives", 0, kRegDword, kBytes, 4), kSuccess);
    EXPECT_EQ(registry.Read("key", "NODRIVES"), (Value{kRegDword, {1, 2, 3, 4}}));
    EXPECT_EQ(registry.DeleteValue(key, "noDRIVES"), kSuccess);
    EXPECT_EQ(registry.DeleteValue(key, "NoDrives"), kFileNotFound);
    EXPECT_EQ(registry.CloseKey(key), kSuccess);
}

TEST(MemoryRegistry, UnusableHandlesFailAndChangeNothing) {
    MemoryRegistry registry;
    registry.Write("Key", "Value", {kRegDword, {9, 9, 9, 9}});
    RegKey key = kNullKey;
    ASSERT_EQ(registry.OpenKey(kCurrentUser, "Key", &key), kSuccess);
    ASSERT_EQ(registry.CloseKey(key), kSuccess);

    for (const RegKey bad : {kNullKey, key, RegKey{0x1234}}) {
        RegKey sub = kNullKey;
        EXPECT_EQ(registry.CreateKey(bad, "Sub", &sub), kInvalidHandle);
        EXPECT_EQ(registry.OpenKey(bad, "", &sub), kInvalidHandle);
        EXPECT_EQ(registry.SetValueEx(bad, "Value", 0, kRegDword, kBytes, 4), kInvalidHandle);
        EXPECT_EQ(registry.DeleteValue(bad, "Value"), kInvalidHandle);
        EXPECT_EQ(registry.CloseKey(bad), kInvalidHandle);
    }
    EXPECT_EQ(registry.Read("Key", "Value"), (Value{kRegDword, {9, 9, 9, 9}}));
    EXPECT_FALSE(registry.KeyExists(R"(Key\Sub)"));
    EXPECT_EQ(registry.OpenHandles(), 0u);
}

}  // namespace
}  // namespace nimbrel
