#pragma once

#include <string>

#include "platform/gdi/CDC.hpp"
#include "platform/win/IHostWindow.hpp"

namespace tokeiya {

// The function-key bar as the engine reaches it: the row of twelve captioned boxes for F1
// to F12 at the foot of a form, with three label sets, which turns a released function key
// or a click on a box into a function-key command posted to the host (WM_FUNCTION_KEY,
// wParam labelSet x 100 + key). The bar itself is a widget; the engine only holds one and
// hands it keys, mouse messages and paints.
class IFunctionKeyBar {
  public:
    static constexpr int kKeyCount = 12;
    static constexpr int kLabelSets = 3;

    virtual ~IFunctionKeyBar() = default;

    // The window the bar paints into and posts to.
    virtual void SetHost(win::IHostWindow* host) = 0;
    virtual win::IHostWindow* GetHost() const = 0;

    // Captions of key 1..12 in label set 0..2; other numbers are ignored (an empty caption
    // for GetLabel). `redraw` repaints the key when its set is the one shown.
    virtual void SetLabel(int labelSet, int key, const std::string& text, bool redraw) = 0;
    virtual std::string GetLabel(int labelSet, int key) const = 0;
    virtual bool HasLabel(int labelSet, int key) const = 0;

    // Showing and hiding, both followed by a repaint of the bar.
    virtual void SetVisible(bool visible) = 0;
    virtual bool IsVisible() const = 0;
    virtual void RedrawBar() = 0;
    virtual void Paint(CDC& dc) = 0;

    // A key or mouse message of the host, offered to the bar; true when the bar took it.
    virtual bool OfferKey(const win::Message& message) = 0;
    virtual bool OfferMouse(const win::Message& message) = 0;
};

}  // namespace tokeiya
