#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "registry.h"

namespace nimbrel::testing {

// Passes every call on to another registry and writes down each one, with
// its arguments and status, as one line of text.
class RecordingRegistry : public Registry {
public:
    explicit RecordingRegistry(Registry& inner) : inner_(inner) {}

    RegStatus CreateKey(RegKey root, const char* path, RegKey* key) noexcept override {
        const RegStatus status = inner_.CreateKey(root, path, key);
        Log("CreateKey(" + Hex(root) + ", " + path + ") -> " + Hex(*key), status);
        return status;
    }
    RegStatus SetValueEx(RegKey key, const char* name, std::uint32_t reserved, std::uint32_t type,
                         const std::uint8_t* data, std::uint32_t size) noexcept override {
        std::string bytes;
        for (std::uint32_t i = 0; i < size; ++i) bytes += (i ? " " : "") + Byte(data[i]);
        const RegStatus status = inner_.SetValueEx(key, name, reserved, type, data, size);
        Log("SetValueEx(" + Hex(key) + ", " + name + ", " + std::to_string(reserved) + ", " +
                std::to_string(type) + ", [" + bytes + "], " + std::to_string(size) + ")",
            status);
        return status;
    }
    RegStatus OpenKey(RegKey root, const char* path, RegKey* key) noexcept override {
        const RegStatus status = inner_.OpenKey(root, path, key);
        Log("OpenKey(" + Hex(root) + ", " + path + ") -> " + Hex(*key), status);
        return status;
    }
    RegStatus DeleteValue(RegKey key, const char* name) noexcept override {
        const RegStatus status = inner_.DeleteValue(key, name);
        Log("DeleteValue(" + Hex(key) + ", " + name + ")", status);
        return status;
    }
    RegStatus CloseKey(RegKey key) noexcept override {
        const RegStatus status = inner_.CloseKey(key);
        Log("CloseKey(" + Hex(key) + ")", status);
        return status;
    }

    std::vector<std::string> calls;

private:
    static std::string Hex(RegKey key) {
        char text[24];
        std::snprintf(text, sizeof text, "0x%llx", static_cast<unsigned long long>(key));
        return text;
    }
    static std::string Byte(std::uint8_t byte) {
        char text[4];
        std::snprintf(text, sizeof text, "%02X", byte);
        return text;
    }
    void Log(std::string call, RegStatus status) {
        calls.push_back(std::move(call) + " = " + std::to_string(status));
    }

    Registry& inner_;
};

}  // namespace nimbrel::testing
