#include <gtest/gtest.h>

#include "policy_store.h"
#include "scratch_registry.h"
#include "win32_registry.h"

namespace nimbrel::testing {
namespace {

std::string DrivesTheShellLists() {
    return RunAndCapture('"' + ProgramFolder() + "list_drives.exe\"");
}

TEST(Shell, HidesTheDrivesOfTheStoredMaskAndShowsThemAgainAfterRemove) {
    REQUIRE_SCRATCH_REGISTRY();
    ResetPolicies();
    Win32Registry registry;
    PolicyStore store(registry);
    ASSERT_NE(DrivesTheShellLists().find('Z'), std::string::npos) << "Z: must be listed at first";

    ASSERT_EQ(store.WriteMask(DriveMask{1} << 25), StoreOutcome{});
    const std::string hidden = DrivesTheShellLists();
    EXPECT_NE(hidden.find('C'), std::string::npos) << hidden;
    EXPECT_EQ(hidden.find('Z'), std::string::npos) << hidden;

    ASSERT_EQ(store.RemoveValue(), StoreOutcome{});
    EXPECT_NE(DrivesTheShellLists().find('Z'), std::string::npos);
    ResetPolicies();
}

}  // namespace
}  // namespace nimbrel::testing
