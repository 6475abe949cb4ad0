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
private:
    friend void ShowAboutWindow();
    AboutWindow();
    bool Open();

    LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
    void OnCreate() override;
    void OnDestroyed() override;
    void OnPaint();
    void OnButtonUp(LPARAM lparam);

    // Owned windows get no taskbar button; this owner is never shown.
    UniqueWindow hidden_owner_;
    bool pressed_ = false;

    static inline AboutWindow* current_ = nullptr;
};

}  // namespace nimbrel::ui
