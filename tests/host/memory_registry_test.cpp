#include "memory_registry.h"

#include <gtest/gtest.h>

namespace nimbrel {
namespace {

using Value = MemoryRegistry::Value;

const std::uint8_t kBytes[] = {1, 2, 3, 4};

TEST(MemoryRegistry, CreateBuildsThePathAndOpenFindsIt) {
    MemoryRegistry registry;
    RegKey key = RegKey{42};
    EXPECT_EQ(registry.OpenKey(kCurrentUser, R"(A\B\C)", &key), kFileNotFound);
    EXPECT_EQ(key, kNullKey);
    EXPECT_FALSE(registry.KeyExists("A"));

    ASSERT_EQ(registry.CreateKey(kCurrentUser, R"(A\B\C)", &key), kSuccess);
    EXPECT_TRUE(registry.KeyExists(R"(a\b\c)"));
    EXPECT_EQ(registry.CloseKey(key), kSuccess);

    ASSERT_EQ(registry.OpenKey(kCurrentUser, R"(a\B\c)", &key), kSuccess);
    EXPECT_EQ(registry.SetValueEx(key, "Name", 0, kRegDword, kBytes, 4), kSuccess);
    EXPECT_EQ(registry.CloseKey(key), kSuccess);
    EXPECT_EQ(registry.Read(R"(A\B\C)", "NAME"), (Value{kRegDword, {1, 2, 3, 4}}));
    EXPECT_EQ(registry.OpenHandles(), 0u);
}

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

TEST(MemoryRegistry, DeniedKeyIsReadableButNotWritable) {
    MemoryRegistry registry;
    registry.Write("Locked", "Value", {kRegDword, {7, 0, 0, 0}});
    registry.DenyWrites("Locked");

    RegKey key = kNullKey;
    EXPECT_EQ(registry.CreateKey(kCurrentUser, R"(Locked\New\Deeper)", &key), kAccessDenied);
    EXPECT_EQ(key, kNullKey);
    EXPECT_FALSE(registry.KeyExists(R"(Locked\New)"));

    ASSERT_EQ(registry.CreateKey(kCurrentUser, "Locked", &key), kSuccess);
    EXPECT_EQ(registry.SetValueEx(key, "Value", 0, kRegDword, kBytes, 4), kAccessDenied);
    EXPECT_EQ(registry.DeleteValue(key, "Value"), kAccessDenied);
    EXPECT_EQ(registry.CloseKey(key), kSuccess);
    EXPECT_EQ(registry.Read("Locked", "Value"), (Value{kRegDword, {7, 0, 0, 0}}));
}

}  // namespace
}  // namespace nimbrel
