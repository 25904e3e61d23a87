#pragma once

#include <cstdint>

#include "engine/CMouseManagerH.hpp"
#include "platform/gdi/CDC.hpp"
#include "platform/gdi/ColorRef.hpp"

namespace tokeiya {

class CCRWin;

// The engine's scroll bar, drawn on a window over a column pair of cells. Clicks and drags
// become scroll notifications posted to the host (WM_ENGINE_VSCROLL / VTHUMB with the bar's
// serial in lParam), which the host resolves through the screen to one of its bars and
// delivers to the owner's OnVScroll. A serial is never given twice in a process, so a
// notification that outlives its bar finds nothing, even when a new bar took the old one's
// address. Its own regions are the five parts in pixels: 1 up arrow, 2 track above the
// thumb, 3 thumb, 4 track below, 5 down arrow.
class CCRWScrollBar : public CMouseManagerH {
  public:
    static constexpr COLORREF kTrackColor = RGB(220, 220, 220);
    static constexpr COLORREF kFaceColor = RGB(200, 200, 200);
    static constexpr COLORREF kLightEdge = RGB(255, 255, 255);
    static constexpr COLORREF kDarkEdge = RGB(145, 145, 145);
    static constexpr int kRepeatMs = 100;

    enum Part { None = 0, UpArrow = 1, TrackAbove = 2, Thumb = 3, TrackBelow = 4, DownArrow = 5 };

    // The engine's arrow colour, program-wide (black at start).
    static COLORREF ArrowColor();
    static void SetArrowColor(COLORREF color);

    CCRWScrollBar(CCRWin& owner, int col, int row, int length, int id, int orientation,
                  bool keyMode, int extra = 0);
    ~CCRWScrollBar() override;

    void Layout();
    void SetRange(int minimum, int maximum, bool redraw);
    // Returns the old position.
    int SetPosition(int position, bool redraw);
    void SetEnabled(bool enabled);
    void Paint(CDC& dc);

    bool OnLButtonDown(int keys, int x, int y) override;
    bool OnLButtonUp(int keys, int x, int y) override;
    bool OnMouseMove(int keys, int x, int y) override;
    void OnRepeatLButton() override;

    CCRWin& Owner() const { return m_owner; }
    int Id() const { return m_id; }
    // What the bar's notifications carry in lParam to name it.
    win::LPARAM Serial() const { return m_serial; }
    int Col() const { return m_col; }
    int Row() const { return m_row; }
    int Length() const { return m_length; }
    int Orientation() const { return m_orientation; }
    bool KeyMode() const { return m_keyMode; }
    int Extra() const { return m_extra; }
    const CRect& Rect() const { return m_rect; }
    int ButtonSize() const { return m_buttonSize; }
    int ThumbSize() const { return m_thumbSize; }
    int Minimum() const { return m_minimum; }
    int Maximum() const { return m_maximum; }
    int Position() const { return m_position; }
    bool Enabled() const { return m_enabled; }
    int PressedPart() const { return m_pressedPart; }
    bool Dragging() const { return m_pressedPart == Thumb; }
    // The pixel rectangle of part 1..5 (empty for any other number).
    CRect PartRect(int part) const;
    CRect ThumbRect() const { return PartRect(Thumb); }

  private:
    bool Vertical() const { return m_orientation == 1; }
    void PostEvent(int event);
    void InvalidatePixels(const CRect& rect);

    CCRWin& m_owner;
    int m_col;
    int m_row;
    int m_length;
    int m_orientation;
    bool m_keyMode;
    CRect m_rect;
    int m_buttonSize = 0;
    int m_thumbSize = 0;
    int m_minimum = 0;
    int m_maximum = 0;
    int m_position = 0;
    bool m_enabled = false;
    int m_pressedPart = None;
    int m_dragX = 0;
    int m_dragY = 0;
    int m_extra;
    int m_id;
    win::LPARAM m_serial;
};

}  // namespace tokeiya
