#pragma once

#include <string>

#include "platform/gdi/CRect.hpp"
#include "platform/win/IHostWindow.hpp"
#include "platform/win/MenuModel.hpp"

namespace tokeiya::win {

// ShowWindow commands.
inline constexpr int SW_HIDE = 0;
inline constexpr int SW_SHOWNORMAL = 1;
inline constexpr int SW_SHOWMINIMIZED = 2;
inline constexpr int SW_SHOWMAXIMIZED = 3;
inline constexpr int SW_SHOWNOACTIVATE = 4;
inline constexpr int SW_SHOW = 5;
inline constexpr int SW_RESTORE = 9;

// Receives what the frame itself is asked: menu states and the notification icon.
class IFrameProc : public IWindowProc {
  public:
    // Called for each command item just before its menu opens.
    virtual void UpdateCommand(UINT id, CommandState& state) = 0;
};

// The program's one top-level window: a menu bar over the client area the engine paints,
// and the notification-area icon. Its messages (including WM_COMMAND for menu items,
// WM_SIZE, WM_SHOWWINDOW, WM_CLOSE and WM_TRAY_NOTIFY) go to the IFrameProc it was
// created with.
class IMainWindow : public IHostWindow {
  public:
    virtual void SetTitle(const std::string& title) = 0;
    virtual std::string Title() const = 0;
    virtual void SetMenu(const Menu& menu) = 0;

    virtual void ShowWindow(int command) = 0;
    virtual bool IsVisible() const = 0;
    virtual bool IsMaximized() const = 0;
    virtual bool IsMinimized() const = 0;
    // The outer window rectangle in screen coordinates, as MoveWindow sets it.
    virtual void MoveWindow(const CRect& rect) = 0;
    virtual CRect WindowRect() const = 0;
    // The size a maximised window would have (the desktop's work area).
    virtual CSize MaximizedSize() const = 0;
    virtual void SetForeground() = 0;

    // The notification icon with its tooltip; its mouse events arrive as WM_TRAY_NOTIFY.
    virtual void AddTrayIcon(const std::string& tip) = 0;
    virtual void RemoveTrayIcon() = 0;
    virtual bool HasTrayIcon() const = 0;
    // Whether the icon is actually shown in a notification area; a desktop without one
    // (or one that has not docked the icon yet) leaves no way back to a hidden window.
    virtual bool TrayIconShown() const = 0;
    // Opens a pop-up menu at the pointer; a chosen item arrives as WM_COMMAND.
    virtual void TrackPopupMenu(const Menu& menu) = 0;

    // Runs the message loop until Quit; Quit may be called from any handler.
    virtual void RunMessageLoop() = 0;
    virtual void Quit() = 0;
    // Destroys the window now; WM_DESTROY reaches the proc first.
    virtual void Destroy() = 0;
};

}  // namespace tokeiya::win
