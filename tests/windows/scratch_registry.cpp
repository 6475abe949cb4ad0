#include "scratch_registry.h"

#include <sddl.h>

#include <cstdlib>
#include <stdexcept>

namespace nimbrel::testing {
namespace {

struct Key {
    HKEY handle = nullptr;
    Key(const char* path, REGSAM access) {
        if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, access, &handle) != ERROR_SUCCESS)
            handle = nullptr;
    }
    ~Key() {
        if (handle) RegCloseKey(handle);
    }
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;
};

void Check(LONG status, const char* what) {
    if (status != ERROR_SUCCESS)
        throw std::runtime_error(std::string(what) + " failed with " + std::to_string(status));
}

}  // namespace

bool ScratchRegistryAllowed() {
    const char* allowed = std::getenv("NIMBREL_SCRATCH_REGISTRY");
    return allowed != nullptr && std::string(allowed) == "1";
}

void ResetPolicies() {
    const LONG status = RegDeleteTreeA(HKEY_CURRENT_USER, kPoliciesPath);
    if (status != ERROR_FILE_NOT_FOUND) Check(status, "RegDeleteTreeA");
}

bool KeyExists(const char* path) { return Key(path, KEY_READ).handle != nullptr; }

std::optional<StoredValue> ReadValue(const char* path, const char* name) {
    const Key key(path, KEY_READ);
    if (!key.handle) return std::nullopt;
    StoredValue value;
    DWORD size = 0;
    if (RegQueryValueExA(key.handle, name, nullptr, &value.type, nullptr, &size) != ERROR_SUCCESS)
        return std::nullopt;
    value.bytes.resize(size);
    Check(RegQueryValueExA(key.handle, name, nullptr, &value.type, value.bytes.data(), &size),
          "RegQueryValueExA");
    value.bytes.resize(size);
    return value;
}

void WriteValue(const char* path, const char* name, const StoredValue& value) {
    HKEY key = nullptr;
    Check(RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                          nullptr),
          "RegCreateKeyExA");
    const LONG status = RegSetValueExA(key, name, 0, value.type, value.bytes.data(),
                                       static_cast<DWORD>(value.bytes.size()));
    RegCloseKey(key);
    Check(status, "RegSetValueExA");
}

ScopedKeyDacl::ScopedKeyDacl(const char* path, const char* sddl) : path_(path) {
    const Key key(path, READ_CONTROL | WRITE_DAC);
    if (!key.handle) throw std::runtime_error(std::string("cannot open ") + path);
    DWORD size = 0;
    RegGetKeySecurity(key.handle, DACL_SECURITY_INFORMATION, nullptr, &size);
    saved_.resize(size);
    Check(RegGetKeySecurity(key.handle, DACL_SECURITY_INFORMATION, saved_.data(), &size),
          "RegGetKeySecurity");

    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1, &descriptor,
                                                              nullptr))
        throw std::runtime_error("bad SDDL");
    const LONG status = RegSetKeySecurity(key.handle, DACL_SECURITY_INFORMATION, descriptor);
    LocalFree(descriptor);
    Check(status, "RegSetKeySecurity");
}

ScopedKeyDacl::~ScopedKeyDacl() {
    const Key key(path_.c_str(), WRITE_DAC);
    if (key.handle) RegSetKeySecurity(key.handle, DACL_SECURITY_INFORMATION, saved_.data());
}

std::string RunAndCapture(const std::string& command_line) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE read_end = nullptr;
    HANDLE write_end = nullptr;
    if (!CreatePipe(&read_end, &write_end, &inherit, 0)) throw std::runtime_error("CreatePipe");
    SetHandleInformation(read_end, HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = write_end;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process{};
    std::string mutable_line = command_line;
    const BOOL started = CreateProcessA(nullptr, mutable_line.data(), nullptr, nullptr, TRUE, 0,
                                        nullptr, nullptr, &startup, &process);
    CloseHandle(write_end);
    if (!started) {
        CloseHandle(read_end);
        throw std::runtime_error("cannot start " + command_line);
    }
    std::string output;
    char buffer[256];
    DWORD got = 0;
    while (ReadFile(read_end, buffer, sizeof buffer, &got, nullptr) && got > 0)
        output.append(buffer, got);
    WaitForSingleObject(process.hProcess, INFINITE);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    CloseHandle(read_end);
    return output;
}

std::string ProgramFolder() {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of('\\') + 1);
}

}  // namespace nimbrel::testing
