#include <gtest/gtest.h>

#include "policy_store.h"
#include "scratch_registry.h"
#include "win32_registry.h"

namespace nimbrel::testing {
namespace {

using Result = StoreOutcome::Result;

const StoredValue kOther{REG_SZ, {'k', 'e', 'e', 'p', 0}};

StoredValue Dword(BYTE b0, BYTE b1, BYTE b2, BYTE b3) { return {REG_DWORD, {b0, b1, b2, b3}}; }

class RealRegistryTest : public ::testing::Test {
protected:
    void SetUp() override {
        REQUIRE_SCRATCH_REGISTRY();
        ResetPolicies();
    }
    void TearDown() override {
        if (ScratchRegistryAllowed()) {
            EXPECT_EQ(registry.OpenHandles(), 0u);
            ResetPolicies();
        }
    }

    Win32Registry registry;
    PolicyStore store{registry};
};

TEST_F(RealRegistryTest, WriteCreatesTheKeyAndStoresTheMaskLittleEndian) {
    const struct {
        DriveMask mask;
        StoredValue stored;
    } cases[] = {
        {12, Dword(0x0C, 0, 0, 0)},
        {67108863, Dword(0xFF, 0xFF, 0xFF, 0x03)},
        {33554432, Dword(0, 0, 0, 0x02)},
    };
    for (const auto& c : cases) {
        ResetPolicies();
        ASSERT_FALSE(KeyExists(kPoliciesPath));
        EXPECT_EQ(store.WriteMask(c.mask), StoreOutcome{});
        EXPECT_EQ(ReadValue(kExplorerPath, "NoDrives"), c.stored) << c.mask;
    }
}

TEST_F(RealRegistryTest, WriteReplacesAValueOfAnotherTypeOrSize) {
    const StoredValue olds[] = {
        {REG_SZ, {'C', 'D', 0}},
        {REG_BINARY, {1, 2, 3, 4, 5, 6, 7, 8}},
        {REG_QWORD, {1, 0, 0, 0, 0, 0, 0, 0}},
        {REG_DWORD, {0}},
    };
    for (const auto& old : olds) {
        WriteValue(kExplorerPath, "NoDrives", old);
        EXPECT_EQ(store.WriteMask(12), StoreOutcome{});
        EXPECT_EQ(ReadValue(kExplorerPath, "NoDrives"), Dword(0x0C, 0, 0, 0)) << old.type;
    }
}

TEST_F(RealRegistryTest, OtherValuesAndTheKeySurviveWriteAndRemove) {
    WriteValue(kExplorerPath, "NoRun", Dword(1, 0, 0, 0));
    WriteValue(kExplorerPath, "Other", kOther);

    EXPECT_EQ(store.WriteMask(4), StoreOutcome{});
    EXPECT_EQ(store.RemoveValue(), StoreOutcome{});
    EXPECT_EQ(ReadValue(kExplorerPath, "NoDrives"), std::nullopt);
    EXPECT_EQ(ReadValue(kExplorerPath, "NoRun"), Dword(1, 0, 0, 0));
    EXPECT_EQ(ReadValue(kExplorerPath, "Other"), kOther);
}

TEST_F(RealRegistryTest, ProtectedKeyRefusesWriteAndRemove) {
    WriteValue(kExplorerPath, "NoDrives", Dword(8, 0, 0, 0));
    WriteValue(kExplorerPath, "Other", kOther);
    const ScopedKeyDacl deny(kExplorerPath, kDenyWritesSddl);

    EXPECT_EQ(store.WriteMask(12), (StoreOutcome{Result::Refused, RegCall::SetValue, 5}));
    EXPECT_EQ(store.RemoveValue(), (StoreOutcome{Result::Refused, RegCall::DeleteValue, 5}));
    EXPECT_EQ(ReadValue(kExplorerPath, "NoDrives"), Dword(8, 0, 0, 0));
    EXPECT_EQ(ReadValue(kExplorerPath, "Other"), kOther);
}

}  // namespace
}  // namespace nimbrel::testing
