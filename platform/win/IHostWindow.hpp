#pragma once

#include <string>
#include <vector>

#include "platform/gdi/CDC.hpp"
#include "platform/gdi/CRect.hpp"
#include "platform/win/IInputContext.hpp"
#include "platform/win/WinMessages.hpp"

namespace tokeiya::win {

// What receives the messages of a host window: the view. Messages arrive one at a time on
// the UI thread; posted messages are delivered after the handler that posted them has
// returned.
class IWindowProc {
  public:
    virtual ~IWindowProc() = default;

    // True when the message was handled.
    virtual bool WindowProc(const Message& message) = 0;
    // Paints the client area (or the part of it that `dc` is clipped to).
    virtual void OnPaint(CDC& dc) = 0;
};

// One tone of a pattern, and the silence before the next one.
struct Tone {
    int frequency = 0;
    int milliseconds = 0;
    int pauseMs = 0;
};

// Timer ids at and above this one are handed out by AllocateTimerId; the ids the program
// names itself (the view's minute timer, 13) stay below it.
inline constexpr UINT kFirstAllocatedTimerId = 0x10000;

// The operating-system window that every engine window paints into and posts to. All
// coordinates are client pixels.
class IHostWindow {
  public:
    virtual ~IHostWindow() = default;

    virtual void PostMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;

    // A repeating timer delivered as WM_TIMER with wParam = id; setting an id that runs
    // restarts it with the new period.
    virtual bool SetTimer(UINT id, UINT elapseMs) = 0;
    virtual bool KillTimer(UINT id) = 0;
    // A timer id no other user of this window has been given, so that two engine windows
    // on one host never share a timer by accident.
    virtual UINT AllocateTimerId() = 0;

    virtual void InvalidateRect(const CRect& rect, bool erase) = 0;
    virtual void Invalidate(bool erase) = 0;
    // Paints what is invalid now, before returning (UpdateWindow): for a caller that is about
    // to block and wants its last change seen meanwhile.
    virtual void UpdateWindow() = 0;
    virtual CRect ClientRect() const = 0;
    // The client area's top-left corner in screen coordinates.
    virtual CPoint ClientOrigin() const = 0;

    // While captured, every mouse message goes to this window.
    virtual void SetCapture() = 0;
    virtual void ReleaseCapture() = 0;
    virtual bool HasCapture() const = 0;

    // Modifier bits (1 Shift, 2 Ctrl, 4 Alt) held down at the time of the message being
    // delivered.
    virtual int ModifierState() const = 0;

    // The caret: one per window, hidden once per HideCaret until shown again.
    virtual bool CreateCaret(int width, int height) = 0;
    virtual void DestroyCaret() = 0;
    virtual void SetCaretPos(CPoint point) = 0;
    virtual CPoint GetCaretPos() const = 0;
    virtual void ShowCaret() = 0;
    virtual void HideCaret() = 0;

    // Clipboard text in CP932; false when there is none or it cannot be written.
    virtual bool SetClipboardText(const std::string& text) = 0;
    virtual bool GetClipboardText(std::string& text) = 0;

    // Null when the window has no input method.
    virtual IInputContext* InputContext() = 0;

    // A tone of `frequency` Hz; returns after `milliseconds`, as the speaker beep does.
    virtual void Beep(int frequency, int milliseconds) = 0;
    // Plays `tones` one after another and returns at once: the window goes on taking
    // messages while they sound. While a pattern still sounds another one is not played.
    virtual void PlayTones(const std::vector<Tone>& tones) = 0;
};

}  // namespace tokeiya::win
