#pragma once

#include <cstdint>

namespace nimbrel {

// An open registry key as the registry layer hands it out. Zero is the null
// handle; kCurrentUser stands for the predefined root of the current user.
enum class RegKey : std::uintptr_t {};
inline constexpr RegKey kNullKey{0};
inline constexpr RegKey kCurrentUser{0x80000001};

// Status codes as the Windows registry returns them.
using RegStatus = std::int32_t;
inline constexpr RegStatus kSuccess = 0;
inline constexpr RegStatus kFileNotFound = 2;
inline constexpr RegStatus kAccessDenied = 5;
inline constexpr RegStatus kInvalidHandle = 6;
inline constexpr RegStatus kNotEnoughMemory = 8;

inline constexpr std::uint32_t kRegDword = 4;

// The five registry operations the drive policy needs, with the arguments of
// the ANSI entry points of advapi32. None of them throws.
class Registry {
public:
    virtual ~Registry() = default;
    virtual RegStatus CreateKey(RegKey root, const char* path, RegKey* key) noexcept = 0;
    virtual RegStatus SetValueEx(RegKey key, const char* name, std::uint32_t reserved,
                                 std::uint32_t type, const std::uint8_t* data,
                                 std::uint32_t size) noexcept = 0;
    virtual RegStatus OpenKey(RegKey root, const char* path, RegKey* key) noexcept = 0;
    virtual RegStatus DeleteValue(RegKey key, const char* name) noexcept = 0;
    virtual RegStatus CloseKey(RegKey key) noexcept = 0;
};

}  // namespace nimbrel
