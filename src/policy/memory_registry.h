#pragma once

#include <cstddef>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "registry.h"

namespace nimbrel {

// A registry held in memory, with the semantics Windows documents for the
// five operations: keys created along a path, names compared without regard
// to case, values replaced whatever their old type, and handles that must be
// open to be used. It stands in for advapi32 in tests and off Windows.
class MemoryRegistry final : public Registry {
public:
    struct Value {
        std::uint32_t type = 0;
        std::vector<std::uint8_t> bytes;
        bool operator==(const Value&) const = default;
    };

    RegStatus CreateKey(RegKey root, const char* path, RegKey* key) noexcept override;
    RegStatus SetValueEx(RegKey key, const char* name, std::uint32_t reserved, std::uint32_t type,
                         const std::uint8_t* data, std::uint32_t size) noexcept override;
    RegStatus OpenKey(RegKey root, const char* path, RegKey* key) noexcept override;
    RegStatus DeleteValue(RegKey key, const char* name) noexcept override;
    RegStatus CloseKey(RegKey key) noexcept override;

    // Direct access for tests; paths are relative to the current user's root.
    bool KeyExists(std::string_view path) const;
    std::optional<Value> Read(std::string_view path, std::string_view name) const;
    void Write(std::string_view path, std::string_view name, Value value);
    // Like a key DACL that denies set-value, create-subkey and delete.
    void DenyWrites(std::string_view path);
    std::size_t OpenHandles() const { return handles_.size(); }

private:
    struct NoCase {
        using is_transparent = void;
        bool operator()(std::string_view a, std::string_view b) const;
    };
    struct Key {
        std::map<std::string, std::unique_ptr<Key>, NoCase> subkeys;
        std::map<std::string, Value, NoCase> values;
        bool deny_writes = false;
    };

    Key* Resolve(RegKey key);
    const Key* Find(std::string_view path) const;
    Key& MakePath(std::string_view path);
    RegKey Open(Key& key);

    Key root_;
    std::map<std::uintptr_t, Key*> handles_;
    std::uintptr_t next_handle_ = 0x100;
};

}  // namespace nimbrel
