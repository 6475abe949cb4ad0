#pragma once

#include <windows.h>

#include <utility>

namespace nimbrel::ui {

// The one owner of a Windows handle: move-only, released exactly once.
template <typename Handle, auto Release>
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle) { reset(handle); }
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) {
            Free();
            handle_ = std::exchange(other.handle_, nullptr);
        }
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { Free(); }

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    // Hands the handle to a new owner outside this program's code, such as a
    // window that destroys its menu with itself.
    Handle release() {
        if (handle_ != nullptr) --live_;
        return std::exchange(handle_, nullptr);
    }
    void reset(Handle handle = nullptr) {
        Free();
        handle_ = handle;
        if (handle_ != nullptr) ++live_;
    }

    // How many handles of this kind are owned now. Tests count leaks with it,
    // since the system's own GDI and USER counts are not available everywhere.
    static int Live() { return live_; }

private:
    void Free() {
        if (handle_ == nullptr) return;
        Release(handle_);
        handle_ = nullptr;
        --live_;
    }

    Handle handle_ = nullptr;
    static inline int live_ = 0;  // NOLINT(bugprone-dynamic-static-initializers): constant
};

using UniqueFont = UniqueHandle<HFONT, &DeleteObject>;
using UniqueIcon = UniqueHandle<HICON, &DestroyIcon>;
using UniqueAccel = UniqueHandle<HACCEL, &DestroyAcceleratorTable>;
using UniqueWindow = UniqueHandle<HWND, &DestroyWindow>;
using UniqueMenu = UniqueHandle<HMENU, &DestroyMenu>;

}  // namespace nimbrel::ui
