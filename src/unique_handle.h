#pragma once

#include <windows.h>

#include <utility>

namespace nimbrel {

// The one owner of a Windows handle: move-only, released exactly once.
template <typename Handle, auto Release>
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle) : handle_(handle) {}
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) reset(std::exchange(other.handle_, nullptr));
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { reset(); }

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    // For a call that fills in a handle; whatever was owned before is released.
    Handle* put() {
        reset();
        return &handle_;
    }
    // Hands the handle to an owner outside this program's code, such as a
    // window that destroys its menu with itself.
    Handle release() { return std::exchange(handle_, nullptr); }
    void reset(Handle handle = nullptr) {
        if (handle_ != nullptr) Release(handle_);
        handle_ = handle;
    }

private:
    Handle handle_ = nullptr;
};

using UniqueKey = UniqueHandle<HKEY, &RegCloseKey>;
using UniqueFont = UniqueHandle<HFONT, &DeleteObject>;
using UniqueIcon = UniqueHandle<HICON, &DestroyIcon>;
using UniqueAccel = UniqueHandle<HACCEL, &DestroyAcceleratorTable>;
using UniqueWindow = UniqueHandle<HWND, &DestroyWindow>;
using UniqueMenu = UniqueHandle<HMENU, &DestroyMenu>;

}  // namespace nimbrel
