#pragma once

#include <windows.h>

#include <array>
#include <optional>
#include <span>

#include "layout.h"
#include "unique_handle.h"

namespace nimbrel::ui {

RECT ToPixels(const TwipRect& twips, int dpi);

// How a window of the program is made: its class, frame, title, client size,
// controls and their fonts.
struct WindowDesign {
    const wchar_t* class_name;
    const wchar_t* title;
    DWORD style;
    DWORD ex_style;
    TwipSize client;
    std::span<const ControlRow> controls;
    std::span<const FontRow> fonts;
};

// Base of the program's windows. A static window procedure finds the object
// through GWLP_USERDATA and hands each message to HandleMessage. The base
// makes and lays out the controls of the design, and keeps the window at the
// DPI of its monitor. The program ends with the last of its windows.
class Window {
public:
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    virtual ~Window();

    HWND hwnd() const { return hwnd_; }
    static bool OnlySent(const MSG& message);

protected:
    explicit Window(const WindowDesign& design) : design_(design) {}

    // Creates the window hidden and centred on the screen, with its controls,
    // sized and laid out for the DPI of the monitor it opens on.
    bool Create(HWND owner, HMENU menu);
    virtual LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) = 0;
    // Called once the controls exist, before they are first laid out.
    virtual void OnCreate() {}
    // Called once the window is gone; the object may delete itself here.
    virtual void OnDestroyed() {}
    // The DPI the window was last laid out at, which its painting must follow.
    int dpi() const { return dpi_; }

private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
    SIZE FrameSize(int dpi) const;
    SIZE FrameSize(int dpi, bool has_menu) const;
    bool OnTaskbar() const { return (design_.ex_style & WS_EX_APPWINDOW) != 0; }
    void Layout(int dpi, std::optional<POINT> at);
    void Detach();

    const WindowDesign& design_;
    HWND hwnd_ = nullptr;
    int dpi_ = 96;
    std::array<UniqueFont, 2> fonts_;
    UniqueIcon big_icon_;
    UniqueIcon small_icon_;
    UniqueIcon picture_;
    static inline int live_windows_ = 0;
    static inline bool session_ended_ = false;
};

}  // namespace nimbrel::ui
