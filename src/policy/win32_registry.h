#pragma once

#include <cstddef>

#include "registry.h"

namespace nimbrel {

// The five operations on the real registry through advapi32's ANSI entry
// points. It counts the handles it has opened and not yet closed, since the
// process handle count is not available everywhere.
class Win32Registry final : public Registry {
public:
    RegStatus CreateKey(RegKey root, const char* path, RegKey* key) noexcept override;
    RegStatus SetValueEx(RegKey key, const char* name, std::uint32_t reserved, std::uint32_t type,
                         const std::uint8_t* data, std::uint32_t size) noexcept override;
    RegStatus OpenKey(RegKey root, const char* path, RegKey* key) noexcept override;
    RegStatus DeleteValue(RegKey key, const char* name) noexcept override;
    RegStatus CloseKey(RegKey key) noexcept override;

    std::size_t OpenHandles() const { return open_handles_; }

private:
    std::size_t open_handles_ = 0;
};

}  // namespace nimbrel
