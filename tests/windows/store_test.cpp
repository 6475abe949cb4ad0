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
        if (std::wstring_view(type.Buffer, type.Length / 2) == L"Key") ++keys;
    }
    return keys;
}

// Each operation from every starting point that matters: what it reports, what
// the key holds after, which only a write creates; no key handle left open.
TEST(PolicyStore, StoresExactlyTheMaskAndReportsWhatHappened) {
    REQUIRE_SCRATCH_REGISTRY();
    enum Start { kNoKey, kVolatileParent, kKey, kProtectedKey };  // a key beside "Other"
    const StoredValue other = {REG_SZ, {'k', 'e', 'e', 'p', 0}}, text = {REG_SZ, {'C', 0}},
                      qword = {REG_QWORD, {1, 0, 0, 0, 0, 0, 0, 0}};
    const struct {
        const char* name;
        Start start;
        std::optional<StoredValue> before;
        std::optional<DriveMask> write;  // else a remove
        StoreOutcome outcome;
        std::optional<StoredValue> after;
    } cases[] = {
        {"C: and D:, no key", kNoKey, {}, 12, {}, {{REG_DWORD, {12, 0, 0, 0}}}},
        {"every drive", kKey, {}, 67108863, {}, {{REG_DWORD, {255, 255, 255, 3}}}},
        {"Z: over text", kKey, text, 1 << 25, {}, {{REG_DWORD, {0, 0, 0, 2}}}},
        {"C: over a QWORD", kKey, qword, 4, {}, {{REG_DWORD, {4, 0, 0, 0}}}},
        {"refused set", kProtectedKey, kEight, 12, {Refused, ERROR_ACCESS_DENIED}, kEight},
        {"refused create", kVolatileParent, {}, 12, {Refused, ERROR_CHILD_MUST_BE_VOLATILE}, {}},
        {"remove", kKey, kEight, {}, {}, {}},
        {"remove, no key", kNoKey, {}, {}, {NothingToDo}, {}},
        {"remove, no value", kKey, {}, {}, {NothingToDo}, {}},
        {"refused remove", kProtectedKey, kEight, {}, {Refused, ERROR_ACCESS_DENIED}, kEight},
        {"remove, no value, refused", kProtectedKey, {}, {}, {NothingToDo}, {}},
    };
    ResetPolicies();  // Windows keeps a handle to HKEY_CURRENT_USER from its first use on
    const int handles = OpenKeyHandles();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ResetPolicies();
        HKEY key = nullptr;  // no stable key can be created under a volatile one
        if (c.start == kVolatileParent)
            RegCreateKeyExA(HKEY_CURRENT_USER, kPolicies, 0, nullptr, REG_OPTION_VOLATILE, KEY_READ,
                            nullptr, &key, nullptr);
        RegCloseKey(key);
        const bool keyed = c.start == kKey || c.start == kProtectedKey;
        if (keyed) WriteValue("Other", other);
        if (c.before) WriteValue("NoDrives", *c.before);
        std::optional<DenyWrites> deny;
        if (c.start == kProtectedKey) deny.emplace();
        EXPECT_EQ(c.write ? WriteMask(*c.write) : RemoveValue(), c.outcome);
        EXPECT_EQ(ReadValue("NoDrives"), c.after);
        EXPECT_EQ(ReadValue("Other"), keyed ? std::optional(other) : std::nullopt);
        HKEY made = nullptr;
        EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kExplorer.c_str(), 0, KEY_READ, &made),
                  keyed || c.after ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND);
        RegCloseKey(made);
    }
    EXPECT_EQ(OpenKeyHandles(), handles);
}

}  // namespace
}  // namespace nimbrel::testing
