#include "platform/gtk/GtkCaret.hpp"

#include "platform/gtk/GtkCallback.hpp"

namespace tokeiya::gtk {
namespace {

// Windows' default caret blink time.
constexpr guint kBlinkMs = 530;

}  // namespace

CGtkCaret::CGtkCaret(GtkWidget* area) : m_area(area) {}

CGtkCaret::~CGtkCaret() {
    if (m_timer != 0) {
        g_source_remove(m_timer);
    }
}

void CGtkCaret::Create(int width, int height) {
    InvalidateCaret();
    m_exists = true;
    m_width = width > 0 ? width : 1;
    m_height = height > 0 ? height : 1;
    m_hideCount = 1;
    Restart();
}

void CGtkCaret::Destroy() {
    InvalidateCaret();
    m_exists = false;
    m_hideCount = 1;
    Restart();
}

void CGtkCaret::SetPosition(CPoint position) {
    if (position == m_position) {
        return;
    }
    InvalidateCaret();
    m_position = position;
    Restart();
}

void CGtkCaret::Show() {
    if (m_exists && m_hideCount > 0) {
        --m_hideCount;
        Restart();
    }
}

void CGtkCaret::Hide() {
    if (m_exists) {
        InvalidateCaret();
        ++m_hideCount;
        Restart();
    }
}

void CGtkCaret::SetFocus(bool focused) {
    m_focused = focused;
    Restart();
}

void CGtkCaret::Restart() {
    if (m_timer != 0) {
        g_source_remove(m_timer);
        m_timer = 0;
    }
    m_on = true;
    if (Visible() && m_focused) {
        m_timer = g_timeout_add(kBlinkMs, &CGtkCaret::OnBlink, this);
    }
    InvalidateCaret();
}

gboolean CGtkCaret::OnBlink(gpointer self) noexcept {
    Guarded("caret blink", [self] {
        auto* caret = static_cast<CGtkCaret*>(self);
        caret->m_on = !caret->m_on;
        caret->InvalidateCaret();
    });
    return G_SOURCE_CONTINUE;
}

void CGtkCaret::InvalidateCaret() {
    if (m_exists) {
        gtk_widget_queue_draw_area(m_area, m_position.x, m_position.y, m_width, m_height);
    }
}

void CGtkCaret::Paint(cairo_t* cr) const {
    if (!Visible() || !m_focused || !m_on) {
        return;
    }
    cairo_save(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_DIFFERENCE);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_rectangle(cr, m_position.x, m_position.y, m_width, m_height);
    cairo_fill(cr);
    cairo_restore(cr);
}

}  // namespace tokeiya::gtk
