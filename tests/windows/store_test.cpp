#include <winternl.h>

#include <gtest/gtest.h>

#include "harness.h"
#include "policy_store.h"

namespace nimbrel::testing {
namespace {

using enum StoreOutcome::Result;

// Key handles open in this process, found by asking each handle its type.
int OpenKeyHandles() {
    int keys = 0;
    alignas(8) BYTE info[1024];
    for (ULONG_PTR handle = 4; handle < 0x10000; handle += 4) {
        if (NtQueryObject(reinterpret_cast<HANDLE>(handle), ObjectTypeInformation, info,
                          sizeof info, nullptr) < 0)
            continue;
        const auto& type = reinterpret_cast<PUBLIC_OBJECT_TYPE_INFORMATION*>(info)->TypeName;
        keys += std::wstring_view(type.Buffer, type.Length / 2) == L"Key";
    }
    return keys;
}

// Each operation from every starting point that matters: what it reports and
// stores, leaving the key's other values, and no key handle, behind.
TEST(PolicyStore, StoresExactlyTheMaskAndReportsWhatHappened) {
    REQUIRE_SCRATCH_REGISTRY();
    const StoredValue other = {REG_SZ, {'k', 'e', 'e', 'p', 0}}, none;
    const struct {
        std::optional<StoredValue> before;  // NoDrives beside "Other", or no key at all
        bool denied;
        std::optional<DriveMask> write;  // else a remove
        StoreOutcome outcome;
        std::optional<StoredValue> after;
    } cases[] = {
        // clang-format off
        {{}, false, 12, {}, StoredValue{4, {0x0C, 0, 0, 0}}},
        {{}, false, 67108863, {}, StoredValue{4, {0xFF, 0xFF, 0xFF, 0x03}}},
        {StoredValue{REG_SZ, {'C', 0}}, false, 1 << 25, {}, StoredValue{4, {0, 0, 0, 2}}},
        {StoredValue{REG_QWORD, {1, 0, 0, 0, 0, 0, 0, 0}}, false, 4, {}, StoredValue{4, {4, 0, 0, 0}}},
        {kEight, true, 12, {Refused, ERROR_ACCESS_DENIED}, kEight},
        {{}, false, 12, {Refused, ERROR_CHILD_MUST_BE_VOLATILE}, {}},
        {kEight, false, {}, {}, {}},
        {{}, false, {}, {NothingToDo}, {}},
        {none, false, {}, {NothingToDo}, {}},
        {kEight, true, {}, {Refused, ERROR_ACCESS_DENIED}, kEight},
        {none, true, {}, {NothingToDo}, {}},
        // clang-format on
    };
    ResetPolicies();  // Windows keeps a handle to HKEY_CURRENT_USER from its first use on
    const int handles = OpenKeyHandles();
    for (const auto& c : cases) {
        ResetPolicies();
        HKEY key = nullptr;  // no stable key can be created under a volatile one
        RegCreateKeyExA(HKEY_CURRENT_USER, kPolicies, 0, nullptr,
                        c.outcome.status == ERROR_CHILD_MUST_BE_VOLATILE ? REG_OPTION_VOLATILE : 0u,
                        KEY_READ, nullptr, &key, nullptr);
        RegCloseKey(key);
        if (c.before) WriteValue("Other", other);
        if (c.before && c.before->type) WriteValue("NoDrives", *c.before);
        std::optional<DenyWrites> deny;
        if (c.denied) deny.emplace();
        EXPECT_EQ(c.write ? WriteMask(*c.write) : RemoveValue(), c.outcome) << &c - cases;
        EXPECT_EQ(ReadValue("NoDrives"), c.after) << &c - cases;
        const bool key_exists =
            RegOpenKeyExA(HKEY_CURRENT_USER, kExplorer.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS;
        EXPECT_EQ(key_exists, c.before || c.outcome == StoreOutcome{}) << &c - cases;
        if (key_exists) RegCloseKey(key);
        EXPECT_TRUE(!c.before || ReadValue("Other") == other) << &c - cases;
    }
    EXPECT_EQ(OpenKeyHandles(), handles);
}

}  // namespace
}  // namespace nimbrel::testing
