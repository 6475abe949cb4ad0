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
// what NoDrives holds after, with the key's other value kept and no key
// handle left open.
TEST(PolicyStore, StoresExactlyTheMaskAndReportsWhatHappened) {
    REQUIRE_SCRATCH_REGISTRY();
    enum Key { kNoKey, kVolatileParent, kWithOther };
    const StoredValue other = {REG_SZ, {'k', 'e', 'e', 'p', 0}}, text = {REG_SZ, {'C', 0}},
                      qword = {REG_QWORD, {1, 0, 0, 0, 0, 0, 0, 0}};
    const struct {
        const char* name;
        Key key;
        std::optional<StoredValue> before;
        bool denied;
        std::optional<DriveMask> write;  // else a remove
        StoreOutcome outcome;
        std::optional<StoredValue> after;
    } cases[] = {
        {"C: and D:, no key", kNoKey, {}, false, 12, {}, {{REG_DWORD, {12, 0, 0, 0}}}},
        {"every drive", kWithOther, {}, false, 67108863, {}, {{REG_DWORD, {255, 255, 255, 3}}}},
        {"Z: over text", kWithOther, text, false, 1 << 25, {}, {{REG_DWORD, {0, 0, 0, 2}}}},
        {"C: over a QWORD", kWithOther, qword, false, 4, {}, {{REG_DWORD, {4, 0, 0, 0}}}},
        {"a refused set", kWithOther, kEight, true, 12, {Refused, ERROR_ACCESS_DENIED}, kEight},
        {"a refused create",
         kVolatileParent,
         {},
         false,
         12,
         {Refused, ERROR_CHILD_MUST_BE_VOLATILE},
         {}},
        {"remove", kWithOther, kEight, false, {}, {}, {}},
        {"remove, no key", kNoKey, {}, false, {}, {NothingToDo}, {}},
        {"remove, no value", kWithOther, {}, false, {}, {NothingToDo}, {}},
        {"a refused remove", kWithOther, kEight, true, {}, {Refused, ERROR_ACCESS_DENIED}, kEight},
        {"remove, no value, refused", kWithOther, {}, true, {}, {NothingToDo}, {}},
    };
    ResetPolicies();  // Windows keeps a handle to HKEY_CURRENT_USER from its first use on
    const int handles = OpenKeyHandles();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ResetPolicies();
        if (c.key == kVolatileParent) {  // no stable key can be created under a volatile one
            HKEY key = nullptr;
            RegCreateKeyExA(HKEY_CURRENT_USER, kPolicies, 0, nullptr, REG_OPTION_VOLATILE, KEY_READ,
                            nullptr, &key, nullptr);
            RegCloseKey(key);
        }
        if (c.key == kWithOther) WriteValue("Other", other);
        if (c.before) WriteValue("NoDrives", *c.before);
        std::optional<DenyWrites> deny;
        if (c.denied) deny.emplace();

        EXPECT_EQ(c.write ? WriteMask(*c.write) : RemoveValue(), c.outcome);
        EXPECT_EQ(ReadValue("NoDrives"), c.after);
        if (c.key == kWithOther) {
            EXPECT_EQ(ReadValue("Other"), other);
        }
    }
    EXPECT_EQ(OpenKeyHandles(), handles);
}

}  // namespace
}  // namespace nimbrel::testing
