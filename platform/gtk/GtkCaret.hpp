#pragma once

#include <gtk/gtk.h>

#include "platform/gdi/CRect.hpp"

namespace tokeiya::gtk {

// The window's caret as Windows keeps it: one per window, created hidden, hidden once per
// Hide until shown again, blinking as an inverted rectangle drawn over the client area
// while it is shown and the window has the keyboard focus. A move or a show starts the
// blink over in its visible phase, so that the caret is seen where it lands.
class CGtkCaret {
  public:
    explicit CGtkCaret(GtkWidget* area);
    ~CGtkCaret();
    CGtkCaret(const CGtkCaret&) = delete;
    CGtkCaret& operator=(const CGtkCaret&) = delete;

    void Create(int width, int height);
    void Destroy();
    void SetPosition(CPoint position);
    CPoint Position() const { return m_position; }
    void Show();
    void Hide();
    void SetFocus(bool focused);
    bool Visible() const { return m_exists && m_hideCount == 0; }

    // Inverts the caret's pixels when it is in its visible phase.
    void Paint(cairo_t* cr) const;

  private:
    static gboolean OnBlink(gpointer self) noexcept;
    void Restart();
    void InvalidateCaret();

    GtkWidget* m_area;  // not owned: the window's client area outlives the caret
    bool m_exists = false;
    int m_width = 0;
    int m_height = 0;
    CPoint m_position;
    int m_hideCount = 1;
    bool m_focused = false;
    bool m_on = true;
    guint m_timer = 0;
};

}  // namespace tokeiya::gtk
