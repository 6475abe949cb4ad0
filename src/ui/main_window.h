#pragma once

#include <windows.h>

#include "drive_mask.h"
#include "policy_store.h"
#include "unique_handle.h"
#include "window.h"

namespace nimbrel::ui {

// The program's main window: the grid of 26 drive boxes, the two commands,
// the restart notice and the Help menu. The boxes' tags live here.
class MainWindow final : public Window {
public:
    MainWindow();

    bool Open(int show);
    // Gives the shortcut and the dialog keys (Tab, Space, access keys) their
    // meaning; true when the message was used up.
    bool PreTranslate(MSG& message);

private:
    LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
    void OnCreate() override;
    void OnPaint();
    void OnCommand(int id);
    void ApplySelection();
    BoxValues Ticks() const;
    void Report(const StoreOutcome& outcome);
    int ShowBox(const wchar_t* text, const wchar_t* title, UINT type);
    void OnClose();
    void SetFocusAside();
    void RestoreFocus();

    BoxTags tags_{};
    HWND last_focus_ = nullptr;
    UniqueAccel shortcuts_;
};

}  // namespace nimbrel::ui
