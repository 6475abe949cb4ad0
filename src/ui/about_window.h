#pragma once

#include <windows.h>

#include "unique_handle.h"
#include "window.h"

namespace nimbrel::ui {

// Opens the About window, or brings the open one to the front: there is one
// at most. It has no owner the user can see, never blocks the main window,
// and closes on a click anywhere on it.
void ShowAboutWindow();

class AboutWindow final : public Window {
public:
    static constexpr const wchar_t* kClassName = L"NimbrelAbout";
    static constexpr const wchar_t* kTitle = L"About -Quorvex- Nimbrel v1.0";
    static constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_CLIPCHILDREN;
    static constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME;

    static HWND Current() { return current_ != nullptr ? current_->hwnd() : nullptr; }

private:
    friend void ShowAboutWindow();
    AboutWindow() = default;
    bool Open(HINSTANCE instance);

    LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
    void OnDestroyed() override;
    void OnCreate();
    void Layout(int dpi) override;
    void OnPaint();

    // Owned windows get no taskbar button; this owner is never shown.
    UniqueWindow hidden_owner_;
    UniqueFont title_font_;
    UniqueFont version_font_;
    UniqueIcon icon_;
    HWND title_ = nullptr;
    HWND version_ = nullptr;
    HWND image_ = nullptr;
    bool pressed_ = false;

    static inline AboutWindow* current_ = nullptr;
};

}  // namespace nimbrel::ui
