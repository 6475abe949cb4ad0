#include "memory_registry.h"

#include <algorithm>
#include <cctype>
#include <new>

namespace nimbrel {
namespace {

constexpr RegStatus kInvalidParameter = 87;

// Splits a key path at its backslashes; empty parts are dropped.
std::vector<std::string_view> SplitPath(std::string_view path) {
    std::vector<std::string_view> parts;
    while (!path.empty()) {
        const auto cut = path.find('\\');
        const auto part = path.substr(0, cut);
        if (!part.empty()) parts.push_back(part);
        if (cut == std::string_view::npos) break;
        path.remove_prefix(cut + 1);
    }
    return parts;
}

}  // namespace

bool MemoryRegistry::NoCase::operator()(std::string_view a, std::string_view b) const {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) <
               std::tolower(static_cast<unsigned char>(y));
    });
}

MemoryRegistry::Key* MemoryRegistry::Resolve(RegKey key) {
    if (key == kCurrentUser) return &root_;
    const auto it = handles_.find(static_cast<std::uintptr_t>(key));
    return it == handles_.end() ? nullptr : it->second;
}

RegKey MemoryRegistry::Open(Key& key) {
    const std::uintptr_t handle = next_handle_;
    handles_.emplace(handle, &key);
    next_handle_ += 4;
    return RegKey{handle};
}

RegStatus MemoryRegistry::CreateKey(RegKey root, const char* path, RegKey* key) noexcept try {
    if (key == nullptr) return kInvalidParameter;
    *key = kNullKey;
    Key* node = Resolve(root);
    if (node == nullptr) return kInvalidHandle;
    const auto parts = SplitPath(path != nullptr ? path : "");
    // Walk what exists first, so that a refusal creates nothing.
    auto part = parts.begin();
    for (; part != parts.end(); ++part) {
        const auto it = node->subkeys.find(*part);
        if (it == node->subkeys.end()) break;
        node = it->second.get();
    }
    if (part != parts.end() && node->deny_writes) return kAccessDenied;
    for (; part != parts.end(); ++part) {
        auto& child = node->subkeys[std::string(*part)];
        child = std::make_unique<Key>();
        node = child.get();
    }
    *key = Open(*node);
    return kSuccess;
} catch (const std::bad_alloc&) {
    return kNotEnoughMemory;
}

RegStatus MemoryRegistry::SetValueEx(RegKey key, const char* name, std::uint32_t /*reserved*/,
                                     std::uint32_t type, const std::uint8_t* data,
                                     std::uint32_t size) noexcept try {
    Key* node = Resolve(key);
    if (node == nullptr) return kInvalidHandle;
    if (data == nullptr && size != 0) return kInvalidParameter;
    if (node->deny_writes) return kAccessDenied;
    node->values[name != nullptr ? name : ""] = Value{type, {data, data + size}};
    return kSuccess;
} catch (const std::bad_alloc&) {
    return kNotEnoughMemory;
}

RegStatus MemoryRegistry::OpenKey(RegKey root, const char* path, RegKey* key) noexcept try {
    if (key == nullptr) return kInvalidParameter;
    *key = kNullKey;
    Key* node = Resolve(root);
    if (node == nullptr) return kInvalidHandle;
    for (const auto part : SplitPath(path != nullptr ? path : "")) {
        const auto it = node->subkeys.find(part);
        if (it == node->subkeys.end()) return kFileNotFound;
        node = it->second.get();
    }
    *key = Open(*node);
    return kSuccess;
} catch (const std::bad_alloc&) {
    return kNotEnoughMemory;
}

RegStatus MemoryRegistry::DeleteValue(RegKey key, const char* name) noexcept {
    Key* node = Resolve(key);
    if (node == nullptr) return kInvalidHandle;
    if (node->deny_writes) return kAccessDenied;
    const auto it = node->values.find(std::string_view(name != nullptr ? name : ""));
    if (it == node->values.end()) return kFileNotFound;
    node->values.erase(it);
    return kSuccess;
}

RegStatus MemoryRegistry::CloseKey(RegKey key) noexcept {
    if (key == kCurrentUser) return kSuccess;
    return handles_.erase(static_cast<std::uintptr_t>(key)) == 1 ? kSuccess : kInvalidHandle;
}

const MemoryRegistry::Key* MemoryRegistry::Find(std::string_view path) const {
    const Key* node = &root_;
    for (const auto part : SplitPath(path)) {
        const auto it = node->subkeys.find(part);
        if (it == node->subkeys.end()) return nullptr;
        node = it->second.get();
    }
    return node;
}

MemoryRegistry::Key& MemoryRegistry::MakePath(std::string_view path) {
    Key* node = &root_;
    for (const auto part : SplitPath(path)) {
        auto& child = node->subkeys[std::string(part)];
        if (!child) child = std::make_unique<Key>();
        node = child.get();
    }
    return *node;
}

bool MemoryRegistry::KeyExists(std::string_view path) const { return Find(path) != nullptr; }

std::optional<MemoryRegistry::Value> MemoryRegistry::Read(std::string_view path,
                                                          std::string_view name) const {
    const Key* node = Find(path);
    if (node == nullptr) return std::nullopt;
    const auto it = node->values.find(name);
    if (it == node->values.end()) return std::nullopt;
    return it->second;
}

void MemoryRegistry::Write(std::string_view path, std::string_view name, Value value) {
    MakePath(path).values[std::string(name)] = std::move(value);
}

void MemoryRegistry::DenyWrites(std::string_view path) { MakePath(path).deny_writes = true; }

}  // namespace nimbrel
