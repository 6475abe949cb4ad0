#include <gtest/gtest.h>

#include <functional>

#include "harness.h"
#include "policy_store.h"

namespace nimbrel::testing {
namespace {

using Result = StoreOutcome::Result;

const StoredValue kOther = {REG_SZ, {'k', 'e', 'e', 'p', 0}};
StoredValue Dword(BYTE b0, BYTE b1, BYTE b2, BYTE b3) { return {REG_DWORD, {b0, b1, b2, b3}}; }

// Each operation on the real registry, from every starting point that matters:
// what it reports, what it stores, and that it leaves other values and no
// key handle behind.
TEST(PolicyStore, StoresExactlyTheMaskAndReportsWhatHappened) {
    REQUIRE_SCRATCH_REGISTRY();
    const auto nothing = [] {};
    const auto other = [] { WriteValue("Other", kOther); };
    const auto holds = [](StoredValue old) {
        return [old] {
            WriteValue("Other", kOther);
            WriteValue("NoDrives", old);
        };
    };
    const struct {
        const char* name;
        std::function<void()> arrange;
        bool denied;
        std::optional<DriveMask> write;  // else a remove
        StoreOutcome outcome;
        std::optional<StoredValue> after;
    } cases[] = {
        {"write 12, key absent", nothing, false, 12, {}, Dword(0x0C, 0, 0, 0)},
        {"write all", nothing, false, 67108863, {}, Dword(0xFF, 0xFF, 0xFF, 0x03)},
        {"write Z over a string", holds({REG_SZ, {'C', 0}}), false, 33554432, {}, Dword(0, 0, 0, 2)},
        {"write over a qword", holds({REG_QWORD, {1, 0, 0, 0, 0, 0, 0, 0}}), false, 4, {},
         Dword(4, 0, 0, 0)},
        {"write, set denied", holds(Dword(8, 0, 0, 0)), true, 12,
         {Result::Refused, RegCall::SetValue, ERROR_ACCESS_DENIED}, Dword(8, 0, 0, 0)},
        {"write, create refused", MakePoliciesVolatile, false, 12,
         {Result::Refused, RegCall::CreateKey, ERROR_CHILD_MUST_BE_VOLATILE}, std::nullopt},
        {"remove", holds(Dword(8, 0, 0, 0)), false, std::nullopt, {}, std::nullopt},
        {"remove, key absent", nothing, false, std::nullopt, {Result::NothingToDo}, std::nullopt},
        {"remove, value absent", other, false, std::nullopt, {Result::NothingToDo}, std::nullopt},
        {"remove, delete denied", holds(Dword(8, 0, 0, 0)), true, std::nullopt,
         {Result::Refused, RegCall::DeleteValue, ERROR_ACCESS_DENIED}, Dword(8, 0, 0, 0)},
    };
    const int handles = OpenKeyHandles();
    for (const auto& c : cases) {
        ResetPolicies();
        c.arrange();
        const bool had_key = ExplorerKeyExists();
        std::optional<DenyWrites> deny;
        if (c.denied) deny.emplace();
        EXPECT_EQ(c.write ? WriteMask(*c.write) : RemoveValue(), c.outcome) << c.name;
        deny.reset();
        EXPECT_EQ(ReadValue("NoDrives"), c.after) << c.name;
        EXPECT_EQ(ExplorerKeyExists(), had_key || c.outcome == StoreOutcome{}) << c.name;
        if (had_key) {
            EXPECT_EQ(ReadValue("Other"), kOther) << c.name;
        }
    }
    EXPECT_EQ(OpenKeyHandles(), handles);
    ResetPolicies();
}

}  // namespace
}  // namespace nimbrel::testing
