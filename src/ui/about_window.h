#pragma once

#include <windows.h>

#include "window.h"

namespace nimbrel::ui {

// Opens the About window, or brings the open one to the front: there is one
// at most. It has no owner the user can see, never blocks the main window,
// and closes on a click anywhere on it.
void ShowAboutWindow();

class AboutWindow final : public Window {
public:
    static HWND Current() { return current_ != nullptr ? current_->hwnd() : nullptr; }
    // The window closes on the first click of a multi-click; the rest of it
    // must not land on whatever lay below. True for the press and release of
    // each further click, which the message loop then drops.
    static bool TakesRestOfMultiClick(const MSG& message);

private:
    friend void ShowAboutWindow();
    AboutWindow();
    bool Open();

    LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
    void OnCreate() override;
    void OnDestroyed() override;
    void OnPaint();
    void OnButtonUp(LPARAM lparam);

    bool pressed_ = false;
    DWORD press_time_ = 0;
    POINT press_at_ = {};

    static inline AboutWindow* current_ = nullptr;
};

}  // namespace nimbrel::ui
