#pragma once

#include <windows.h>

#include <array>

#include "drive_mask.h"
#include "fixed_text.h"
#include "policy_store.h"
#include "unique_handle.h"
#include "window.h"

namespace nimbrel::ui {

// The program's main window: the grid of 26 drive boxes, the two commands,
// the restart notice and the Help menu. The boxes' tags live here, one text
// slot per box.
class MainWindow final : public Window, public DriveBoxes {
public:
    static constexpr const wchar_t* kClassName = L"NimbrelMain";
    static constexpr const wchar_t* kTitle = L"-Quorvex- Nimbrel v1.0";
    static constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    static constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_APPWINDOW | WS_EX_CONTROLPARENT;

    explicit MainWindow(PolicyStore& store) : store_(store) {}

    bool Open(HINSTANCE instance, int show);
    // Gives the shortcut and the dialog keys (Tab, Space, access keys) their
    // meaning; true when the message was used up.
    bool PreTranslate(MSG& message);

    std::int16_t Value(int index) const override;
    std::string_view Tag(int index) const override;
    void SetTag(int index, std::string_view text) override;

private:
    LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
    void OnCreate();
    void Layout(int dpi) override;
    void OnPaint();
    void OnCommand(int id);
    void OnClose();
    void OnActivate(bool active);
    void ReportRefusal(const StoreOutcome& outcome);

    PolicyStore& store_;
    std::array<HWND, kDriveCount> boxes_{};
    std::array<FixedText<char, kTagCapacity + 1>, kDriveCount> tags_{};
    HWND hide_selected_ = nullptr;
    HWND unhide_all_ = nullptr;
    HWND notice_ = nullptr;
    HWND last_focus_ = nullptr;
    UniqueFont box_font_;
    UniqueFont dialog_font_;
    UniqueIcon big_icon_;
    UniqueIcon small_icon_;
    UniqueAccel shortcuts_;
};

}  // namespace nimbrel::ui
