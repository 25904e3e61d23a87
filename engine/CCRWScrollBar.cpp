#include "engine/CCRWScrollBar.hpp"

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <cstdint>

#include "engine/CCRWin.hpp"

namespace tokeiya {

using namespace win;

namespace {

COLORREF g_arrowColor = RGB(0, 0, 0);
// The last serial given to a bar, process-wide; serials start at 1.
std::atomic<LPARAM> g_lastSerial{0};

// The bar's geometry is worked out along its length ("along": y for a vertical bar, x for a
// horizontal one) and spans the bar's whole thickness.
int AlongStart(const CRect& r, bool vertical) {
    return vertical ? r.top : r.left;
}
int AlongEnd(const CRect& r, bool vertical) {
    return vertical ? r.bottom : r.right;
}
CRect Span(const CRect& bar, bool vertical, int start, int end) {
    return vertical ? CRect{bar.left, start, bar.right, end}
                    : CRect{start, bar.top, end, bar.bottom};
}

CRect Union(const CRect& a, const CRect& b) {
    return CRect{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                 std::max(a.bottom, b.bottom)};
}

void DrawButton(CDC& dc, const CRect& rect, bool sunken) {
    if (rect.IsEmpty()) {
        return;
    }
    dc.FillSolidRect(rect, CCRWScrollBar::kFaceColor);
    if (sunken) {
        dc.Draw3dRect(rect, CCRWScrollBar::kDarkEdge, CCRWScrollBar::kLightEdge);
    } else {
        dc.Draw3dRect(rect, CCRWScrollBar::kLightEdge, CCRWScrollBar::kDarkEdge);
    }
}

enum class Pointing { Up, Down, Left, Right };

// A filled triangle inside the button, kept off each side by 3 pixels or a fifth of the
// button, whichever is more.
void DrawArrow(CDC& dc, const CRect& button, Pointing direction) {
    const int insetX = std::max(3, static_cast<int>(button.Width() * 0.2));
    const int insetY = std::max(3, static_cast<int>(button.Height() * 0.2));
    const CRect in{button.left + insetX, button.top + insetY, button.right - insetX,
                   button.bottom - insetY};
    if (in.IsEmpty()) {
        return;
    }
    const int l = in.left;
    const int t = in.top;
    const int r = in.right - 1;
    const int b = in.bottom - 1;
    const int midX = l + (r - l) / 2;
    const int midY = t + (b - t) / 2;
    std::array<CPoint, 3> points;
    switch (direction) {
        case Pointing::Up:
            points = {CPoint{l, b}, CPoint{r, b}, CPoint{midX, t}};
            break;
        case Pointing::Down:
            points = {CPoint{l, t}, CPoint{r, t}, CPoint{midX, b}};
            break;
        case Pointing::Left:
            points = {CPoint{r, t}, CPoint{r, b}, CPoint{l, midY}};
            break;
        case Pointing::Right:
            points = {CPoint{l, t}, CPoint{l, b}, CPoint{r, midY}};
            break;
    }
    const COLORREF color = CCRWScrollBar::ArrowColor();
    const CPen oldPen = dc.SelectPen(CPen(PenStyle::Solid, 0, color));
    const auto oldBrush = dc.SelectBrush(color);
    dc.Polygon(points);
    dc.SelectBrush(oldBrush);
    dc.SelectPen(oldPen);
}

}  // namespace

COLORREF CCRWScrollBar::ArrowColor() {
    return g_arrowColor;
}

void CCRWScrollBar::SetArrowColor(COLORREF color) {
    g_arrowColor = color;
}

CCRWScrollBar::CCRWScrollBar(CCRWin& owner, int col, int row, int length, int id, int orientation,
                             bool keyMode, int extra)
    : m_owner(owner),
      m_col(col),
      m_row(row),
      m_length(length),
      m_orientation(orientation),
      m_keyMode(keyMode),
      m_extra(extra),
      m_id(id),
      m_serial(++g_lastSerial) {
    for (int part = UpArrow; part <= DownArrow; ++part) {
        m_regions.push_back(CMouseRect{part, 0, CRect{}, 0, 0});
    }
    Layout();
}

CCRWScrollBar::~CCRWScrollBar() {
    if (m_pressedPart != None && GetHost() != nullptr) {
        GetHost()->ReleaseCapture();
    }
}

void CCRWScrollBar::Layout() {
    const bool vertical = Vertical();
    // Two columns wide down a column, or one row high along a row.
    const std::int64_t colsNeeded = std::int64_t{m_col} + (vertical ? 2 : m_length);
    const std::int64_t rowsNeeded = std::int64_t{m_row} + (vertical ? m_length : 1);
    if (m_col >= 0 && m_row >= 0 && m_length > 0 && m_owner.Cols() >= colsNeeded &&
        m_owner.Rows() >= rowsNeeded) {
        const int right = static_cast<int>(colsNeeded);
        const int bottom = static_cast<int>(rowsNeeded);
        CRect r = m_owner.CellRectToPixels(CRect{m_col, m_row, right, bottom});
        if (vertical) {
            r.top += 1;
            r.bottom -= 1;
            r.left += 1;
        } else {
            r.left += 1;
            r.right -= 1;
            r.top += 1;
        }
        m_rect = r;
    }

    const int start = AlongStart(m_rect, vertical);
    const int end = AlongEnd(m_rect, vertical);
    const int along = std::max(0, end - start);
    const int across = std::max(0, vertical ? m_rect.Width() : m_rect.Height());
    m_buttonSize = static_cast<int>(across * 0.8);
    if (along < 5 * m_buttonSize) {
        m_buttonSize = along / 5;
    }
    const int travel = along - 2 * m_buttonSize;
    const std::int64_t steps = std::int64_t{m_maximum} - m_minimum + 1;
    m_thumbSize = travel;
    if (steps > 1) {
        m_thumbSize = std::max(static_cast<int>(travel / steps), m_buttonSize);
    }

    const int trackStart = start + m_buttonSize + 1;
    int thumbStart = trackStart;
    if (Dragging()) {
        const int pointer = vertical ? m_dragY : m_dragX;
        const int highest = end - m_thumbSize - m_buttonSize;
        thumbStart = std::max(trackStart, std::min(pointer - m_thumbSize / 2, highest));
    } else if (m_maximum != m_minimum) {
        const double f = (double(m_position) - m_minimum) / (double(m_maximum) - m_minimum);
        thumbStart = trackStart + static_cast<int>(f * (travel - m_thumbSize) + 0.5);
    }
    const int thumbEnd = thumbStart + m_thumbSize;
    const int belowEnd = std::max(thumbEnd, end - m_buttonSize - 1);

    m_regions[0].rect = Span(m_rect, vertical, start, trackStart);
    m_regions[1].rect = Span(m_rect, vertical, trackStart, thumbStart);
    m_regions[2].rect = Span(m_rect, vertical, thumbStart, thumbEnd);
    m_regions[3].rect = Span(m_rect, vertical, thumbEnd, belowEnd);
    m_regions[4].rect = Span(m_rect, vertical, end - m_buttonSize - 1, end);
}

CRect CCRWScrollBar::PartRect(int part) const {
    if (part < UpArrow || part > DownArrow) {
        return CRect{};
    }
    return m_regions[static_cast<std::size_t>(part - 1)].rect;
}

void CCRWScrollBar::SetRange(int minimum, int maximum, bool redraw) {
    // A reversed range would give positions outside it; it is taken as a single step.
    m_minimum = minimum;
    m_maximum = std::max(minimum, maximum);
    m_position = std::clamp(m_position, m_minimum, m_maximum);
    Layout();
    if (redraw) {
        InvalidatePixels(m_rect);
    }
}

int CCRWScrollBar::SetPosition(int position, bool redraw) {
    const int old = m_position;
    const CRect oldThumb = ThumbRect();
    m_position = std::clamp(position, m_minimum, m_maximum);
    Layout();
    if (redraw) {
        InvalidatePixels(oldThumb);
        InvalidatePixels(ThumbRect());
    }
    return old;
}

void CCRWScrollBar::SetEnabled(bool enabled) {
    if (enabled == m_enabled) {
        return;
    }
    // A press in progress ends with the bar, or its arrow would go on repeating.
    if (!enabled && m_pressedPart != None) {
        StopRepeat();
        if (GetHost() != nullptr) {
            GetHost()->ReleaseCapture();
        }
        m_pressedPart = None;
        Layout();
    }
    m_enabled = enabled;
    InvalidatePixels(Union(PartRect(TrackAbove), PartRect(TrackBelow)));
}

void CCRWScrollBar::Paint(CDC& dc) {
    if (m_rect.IsEmpty()) {
        return;
    }
    const bool vertical = Vertical();
    dc.FillSolidRect(m_rect, kTrackColor);
    DrawButton(dc, PartRect(UpArrow), m_pressedPart == UpArrow);
    DrawArrow(dc, PartRect(UpArrow), vertical ? Pointing::Up : Pointing::Left);
    if (m_enabled) {
        DrawButton(dc, ThumbRect(), false);
    }
    DrawButton(dc, PartRect(DownArrow), m_pressedPart == DownArrow);
    DrawArrow(dc, PartRect(DownArrow), vertical ? Pointing::Down : Pointing::Right);
}

bool CCRWScrollBar::OnLButtonDown(int keys, int x, int y) {
    if (!m_enabled || GetHost() == nullptr) {
        return false;
    }
    int part = None;
    int subId = 0;
    if (!HitTest(x, y, part, subId, 0)) {
        return false;
    }
    GetHost()->SetCapture();
    m_pressedPart = part;
    switch (part) {
        case Thumb:
            OnMouseMove(keys, x, y);
            break;
        case UpArrow:
        case DownArrow:
            InvalidatePixels(PartRect(part));
            PostEvent(part == UpArrow ? 0 : 1);
            StartRepeat(static_cast<int>(WM_LBUTTONDOWN), x, y, kRepeatMs);
            break;
        default:
            break;
    }
    return true;
}

bool CCRWScrollBar::OnMouseMove(int keys, int x, int y) {
    if (!m_enabled || GetHost() == nullptr) {
        return false;
    }
    if (Dragging()) {
        m_dragX = x;
        m_dragY = y;
        const CRect old = ThumbRect();
        Layout();
        InvalidatePixels(old);
        InvalidatePixels(ThumbRect());
        return true;
    }
    int part = None;
    int subId = 0;
    if (HitTest(x, y, part, subId, 0)) {
        return true;
    }
    // Leaving the bar with an arrow held ends the repeat as a release would.
    if (m_pressedPart == UpArrow || m_pressedPart == DownArrow) {
        StopRepeat();
        OnLButtonUp(keys, x, y);
    }
    return false;
}

bool CCRWScrollBar::OnLButtonUp(int, int, int) {
    if (m_pressedPart == None) {
        return false;
    }
    if (GetHost() != nullptr) {
        GetHost()->ReleaseCapture();
    }
    const int part = m_pressedPart;
    switch (part) {
        case TrackAbove:
            m_pressedPart = None;
            PostEvent(2);
            return true;
        case TrackBelow:
            m_pressedPart = None;
            PostEvent(3);
            return true;
        case Thumb: {
            const bool vertical = Vertical();
            const int trackStart = AlongStart(PartRect(TrackAbove), vertical);
            const int travel = AlongEnd(PartRect(TrackBelow), vertical) - trackStart - m_thumbSize;
            const int offset = AlongStart(ThumbRect(), vertical) - trackStart;
            // The thumb goes back to where the position puts it until the owner moves it.
            const CRect dragged = ThumbRect();
            m_pressedPart = None;
            Layout();
            InvalidatePixels(dragged);
            InvalidatePixels(ThumbRect());
            if (travel <= 0) {
                return false;
            }
            const double exact =
                double(offset) / travel * (double(m_maximum) - m_minimum) + m_minimum + 0.5;
            const int position = static_cast<int>(
                std::clamp(std::trunc(exact), double(m_minimum), double(m_maximum)));
            if (GetHost() != nullptr) {
                GetHost()->PostMessage(vertical ? WM_ENGINE_VTHUMB : WM_ENGINE_HTHUMB,
                                       static_cast<WPARAM>(position), m_serial);
            }
            return true;
        }
        default:
            m_pressedPart = None;
            StopRepeat();
            InvalidatePixels(m_rect);
            return false;
    }
}

void CCRWScrollBar::OnRepeatLButton() {
    if (!m_enabled || GetHost() == nullptr) {
        return;
    }
    if (m_pressedPart == UpArrow || m_pressedPart == DownArrow) {
        PostEvent(m_pressedPart == UpArrow ? 0 : 1);
        InvalidatePixels(m_rect);
    }
}

void CCRWScrollBar::PostEvent(int event) {
    if (GetHost() != nullptr) {
        GetHost()->PostMessage(Vertical() ? WM_ENGINE_VSCROLL : WM_ENGINE_HSCROLL,
                               static_cast<WPARAM>(event), m_serial);
    }
}

void CCRWScrollBar::InvalidatePixels(const CRect& rect) {
    if (GetHost() != nullptr && !rect.IsEmpty()) {
        GetHost()->InvalidateRect(rect, false);
    }
}

}  // namespace tokeiya
