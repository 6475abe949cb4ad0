#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace nimbrel::testing {

inline constexpr const char* kPoliciesPath =
    R"(Software\Microsoft\Windows\CurrentVersion\Policies)";
inline constexpr const char* kExplorerPath =
    R"(Software\Microsoft\Windows\CurrentVersion\Policies\Explorer)";
// Denies set-value, create-subkey and delete, but lets tests read and restore the key.
inline constexpr const char* kDenyWritesSddl = "D:P(D;;0x10006;;;WD)(A;;KA;;;WD)";

struct StoredValue {
    DWORD type = 0;
    std::vector<BYTE> bytes;
    bool operator==(const StoredValue&) const = default;
};

// These tests rewrite the current user's policy keys, so they only run where
// the caller says the registry is a throwaway one (a scratch Wine prefix).
bool ScratchRegistryAllowed();

// Removes the whole Policies key, so each case starts from nothing.
void ResetPolicies();
bool KeyExists(const char* path);
std::optional<StoredValue> ReadValue(const char* path, const char* name);
void WriteValue(const char* path, const char* name, const StoredValue& value);

// Puts a DACL on a key for its lifetime, then restores the one it had.
class ScopedKeyDacl {
public:
    ScopedKeyDacl(const char* path, const char* sddl);
    ~ScopedKeyDacl();
    ScopedKeyDacl(const ScopedKeyDacl&) = delete;
    ScopedKeyDacl& operator=(const ScopedKeyDacl&) = delete;

private:
    std::string path_;
    std::vector<BYTE> saved_;
};

// Runs a command line to its end and returns what it wrote to stdout.
std::string RunAndCapture(const std::string& command_line);
// The folder this test program lives in, with a trailing backslash.
std::string ProgramFolder();

}  // namespace nimbrel::testing

#define REQUIRE_SCRATCH_REGISTRY()                     \
    if (!::nimbrel::testing::ScratchRegistryAllowed()) \
    GTEST_SKIP() << "set NIMBREL_SCRATCH_REGISTRY=1 in a throwaway prefix to run this"
