#include "policy_store.h"

#include <gtest/gtest.h>

#include "fake_boxes.h"
#include "memory_registry.h"
#include "recording_registry.h"

namespace nimbrel {
namespace {

using testing::FakeBoxes;
using testing::RecordingRegistry;
using Result = StoreOutcome::Result;
using Value = MemoryRegistry::Value;

constexpr const char* kPath = R"(Software\Microsoft\Windows\CurrentVersion\Policies\Explorer)";
constexpr const char* kParent = R"(Software\Microsoft\Windows\CurrentVersion\Policies)";
const Value kOther{1, {'k', 'e', 'e', 'p', 0}};

Value Dword(std::uint8_t b0, std::uint8_t b1, std::uint8_t b2, std::uint8_t b3) {
    return {kRegDword, {b0, b1, b2, b3}};
}

class PolicyStoreTest : public ::testing::Test {
protected:
    MemoryRegistry memory;
    RecordingRegistry registry{memory};
    PolicyStore store{registry};
};

TEST_F(PolicyStoreTest, WriteMakesExactlyTheDocumentedCalls) {
    EXPECT_EQ(store.WriteMask(12), StoreOutcome{});
    EXPECT_EQ(registry.calls, (std::vector<std::string>{
                                  std::string("CreateKey(0x80000001, ") + kPath + ") -> 0x100 = 0",
                                  "SetValueEx(0x100, NoDrives, 0, 4, [0C 00 00 00], 4) = 0",
                                  "CloseKey(0x100) = 0",
                              }));
    EXPECT_EQ(memory.Read(kPath, "NoDrives"), Dword(0x0C, 0, 0, 0));
}

TEST_F(PolicyStoreTest, RemoveMakesExactlyTheDocumentedCalls) {
    memory.Write(kPath, "NoDrives", Dword(4, 0, 0, 0));
    EXPECT_EQ(store.RemoveValue(), StoreOutcome{});
    EXPECT_EQ(registry.calls, (std::vector<std::string>{
                                  std::string("OpenKey(0x80000001, ") + kPath + ") -> 0x100 = 0",
                                  "DeleteValue(0x100, NoDrives) = 0",
                                  "CloseKey(0x100) = 0",
                              }));
    EXPECT_EQ(memory.Read(kPath, "NoDrives"), std::nullopt);
    EXPECT_TRUE(memory.KeyExists(kPath));
}

TEST_F(PolicyStoreTest, WriteReplacesTheWholeValueAndNothingElse) {
    memory.Write(kPath, "NoDrives", {1, {'w', 'i', 'd', 'e', 'r', 0}});
    memory.Write(kPath, "NoRun", kOther);

    EXPECT_EQ(store.WriteMask(67108863), StoreOutcome{});
    EXPECT_EQ(memory.Read(kPath, "NoDrives"), Dword(0xFF, 0xFF, 0xFF, 0x03));
    EXPECT_EQ(store.WriteMask(1), StoreOutcome{});
    EXPECT_EQ(memory.Read(kPath, "NoDrives"), Dword(1, 0, 0, 0));
    EXPECT_EQ(memory.Read(kPath, "NoRun"), kOther);

    EXPECT_EQ(store.RemoveValue(), StoreOutcome{});
    EXPECT_EQ(memory.Read(kPath, "NoRun"), kOther);
}

TEST_F(PolicyStoreTest, RefusedWritesChangeNothingAndNameTheFailingCall) {
    memory.Write(kParent, "Other", kOther);
    memory.DenyWrites(kParent);
    EXPECT_EQ(store.WriteMask(12), (StoreOutcome{Result::Refused, RegCall::CreateKey, 5}));
    EXPECT_FALSE(memory.KeyExists(kPath));
    // The later calls still run, on the null handle, and fail harmlessly.
    EXPECT_EQ(registry.calls[1], "SetValueEx(0x0, NoDrives, 0, 4, [0C 00 00 00], 4) = 6");
    EXPECT_EQ(registry.calls[2], "CloseKey(0x0) = 6");

    MemoryRegistry denied_set;
    denied_set.Write(kPath, "NoDrives", Dword(8, 0, 0, 0));
    denied_set.DenyWrites(kPath);
    EXPECT_EQ(PolicyStore(denied_set).WriteMask(12),
              (StoreOutcome{Result::Refused, RegCall::SetValue, 5}));
    EXPECT_EQ(denied_set.Read(kPath, "NoDrives"), Dword(8, 0, 0, 0));
    EXPECT_EQ(denied_set.OpenHandles(), 0u);
}

TEST_F(PolicyStoreTest, RemoveWithNothingToRemoveIsQuietAndCreatesNothing) {
    EXPECT_EQ(store.RemoveValue(), StoreOutcome{Result::NothingToDo});
    EXPECT_FALSE(memory.KeyExists(kPath));
    EXPECT_EQ(registry.calls.size(), 3u);

    memory.Write(kPath, "NoRun", kOther);
    EXPECT_EQ(store.RemoveValue(), StoreOutcome{Result::NothingToDo});
    EXPECT_EQ(memory.Read(kPath, "NoRun"), kOther);
    EXPECT_EQ(memory.OpenHandles(), 0u);
}

TEST_F(PolicyStoreTest, RefusedRemoveKeepsTheValue) {
    memory.Write(kPath, "NoDrives", Dword(4, 0, 0, 0));
    memory.DenyWrites(kPath);
    EXPECT_EQ(store.RemoveValue(), (StoreOutcome{Result::Refused, RegCall::DeleteValue, 5}));
    EXPECT_EQ(memory.Read(kPath, "NoDrives"), Dword(4, 0, 0, 0));
    EXPECT_EQ(memory.OpenHandles(), 0u);
}

TEST_F(PolicyStoreTest, ApplySelectionWritesTheTickedDrivesOrRemoves) {
    FakeBoxes boxes{2, 3};
    EXPECT_EQ(store.ApplySelection(boxes), StoreOutcome{});
    EXPECT_EQ(memory.Read(kPath, "NoDrives"), Dword(0x0C, 0, 0, 0));

    boxes.values.fill(kCleared);
    EXPECT_EQ(store.ApplySelection(boxes), StoreOutcome{});
    EXPECT_EQ(memory.Read(kPath, "NoDrives"), std::nullopt);
    EXPECT_TRUE(memory.KeyExists(kPath));
}

TEST_F(PolicyStoreTest, UncomputableMaskNeverReachesTheRegistry) {
    class OverflowingBoxes : public FakeBoxes {
        std::string_view Tag(int) const override { return "2147483647"; }
    } boxes;
    EXPECT_EQ(store.ApplySelection(boxes), StoreOutcome{Result::Aborted});
    EXPECT_TRUE(registry.calls.empty());
}

TEST_F(PolicyStoreTest, ManyAlternatingPressesLeaveNoHandleOpen) {
    PolicyStore direct(memory);
    FakeBoxes boxes;
    for (int press = 0; press < 10000; ++press) {
        boxes.values.fill(kCleared);
        boxes.values[press % kDriveCount] = kTicked;
        ASSERT_EQ(direct.ApplySelection(boxes), StoreOutcome{});
        ASSERT_EQ(direct.RemoveValue(), StoreOutcome{});
    }
    EXPECT_EQ(direct.ApplySelection(boxes), StoreOutcome{});  // P:, from the last press
    EXPECT_EQ(memory.OpenHandles(), 0u);
    EXPECT_EQ(memory.Read(kPath, "NoDrives"), Dword(0, 0x80, 0, 0));
}

}  // namespace
}  // namespace nimbrel
