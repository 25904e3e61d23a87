#include "platform/gtk/GtkInputContext.hpp"

#include <algorithm>
#include <cstdlib>
#include <memory>

#include "platform/Cp932.hpp"
#include "platform/gdi/CFontCache.hpp"
#include "platform/gtk/GtkCallback.hpp"

namespace tokeiya::gtk {

using namespace win;

namespace {

constexpr int kDefaultCompositionHeight = 16;
constexpr double kCompositionPadding = 2;

}  // namespace

std::string Cp932Dropping(const std::string& utf8, bool& dropped) {
    dropped = false;
    if (!g_utf8_validate(utf8.data(), static_cast<gssize>(utf8.size()), nullptr)) {
        dropped = !utf8.empty();
        return {};
    }
    std::string out;
    const char* end = utf8.data() + utf8.size();
    for (const char* p = utf8.data(); p < end;) {
        const char* next = g_utf8_next_char(p);
        if (auto converted =
                cp932::FromUtf8Strict(std::string_view(p, static_cast<size_t>(next - p)))) {
            out += *converted;
        } else {
            dropped = true;
        }
        p = next;
    }
    return out;
}

CGtkInputContext::CGtkInputContext(GtkWidget* clientArea, IInputContextHost& host)
    : m_area(clientArea), m_host(host), m_context(gtk_im_multicontext_new()) {
    GtkIMContext* context = m_context.get();
    // The preedit comes to us (and is drawn by Paint): the composition messages need it.
    gtk_im_context_set_use_preedit(context, TRUE);
    g_signal_connect(context, "commit", G_CALLBACK(OnCommit), this);
    g_signal_connect(context, "preedit-start", G_CALLBACK(OnPreeditStart), this);
    g_signal_connect(context, "preedit-changed", G_CALLBACK(OnPreeditChanged), this);
    g_signal_connect(context, "preedit-end", G_CALLBACK(OnPreeditEnd), this);
    g_signal_connect(m_area, "realize", G_CALLBACK(OnRealize), this);
    g_signal_connect(m_area, "unrealize", G_CALLBACK(OnUnrealize), this);
    if (gtk_widget_get_realized(m_area)) {
        gtk_im_context_set_client_window(context, gtk_widget_get_window(m_area));
    }
}

CGtkInputContext::~CGtkInputContext() {
    g_signal_handlers_disconnect_by_data(m_context.get(), this);
    g_signal_handlers_disconnect_by_data(m_area, this);
    gtk_im_context_set_client_window(m_context.get(), nullptr);
    ClearPreedit();
}

void CGtkInputContext::OnRealize(GtkWidget* widget, gpointer self) noexcept {
    Guarded("input context realize", [widget, self] {
        auto* context = static_cast<CGtkInputContext*>(self);
        gtk_im_context_set_client_window(context->m_context.get(), gtk_widget_get_window(widget));
    });
}

void CGtkInputContext::OnUnrealize(GtkWidget*, gpointer self) noexcept {
    Guarded("input context unrealize", [self] {
        auto* context = static_cast<CGtkInputContext*>(self);
        gtk_im_context_set_client_window(context->m_context.get(), nullptr);
    });
}

void CGtkInputContext::OnCommit(GtkIMContext*, const gchar* text, gpointer self) noexcept {
    Guarded("input method commit",
            [text, self] { static_cast<CGtkInputContext*>(self)->Commit(text); });
}

void CGtkInputContext::OnPreeditStart(GtkIMContext*, gpointer self) noexcept {
    Guarded("preedit start", [self] { static_cast<CGtkInputContext*>(self)->StartComposition(); });
}

void CGtkInputContext::OnPreeditChanged(GtkIMContext*, gpointer self) noexcept {
    Guarded("preedit changed", [self] { static_cast<CGtkInputContext*>(self)->ReadPreedit(); });
}

void CGtkInputContext::OnPreeditEnd(GtkIMContext*, gpointer self) noexcept {
    Guarded("preedit end", [self] { static_cast<CGtkInputContext*>(self)->EndComposition(); });
}

void CGtkInputContext::Commit(const gchar* utf8) {
    if (m_cancelling || utf8 == nullptr) {
        return;
    }
    bool dropped = false;
    std::string text = Cp932Dropping(utf8, dropped);
    if (dropped) {
        gdk_display_beep(gtk_widget_get_display(m_area));
    }
    if (text.empty()) {
        return;
    }
    if (!m_composing) {
        m_host.PostCharacters(text);
        return;
    }
    // The proc reads the result through CompositionString while the message is delivered;
    // when it does not take it, the text arrives as characters, as the system's default
    // handling of the result makes it.
    m_result = text;
    bool handled = false;
    try {
        handled = m_host.SendImeMessage(Message{WM_IME_COMPOSITION, 0, GCS_RESULTSTR});
    } catch (...) {
        m_result.clear();
        throw;
    }
    m_result.clear();
    if (!handled) {
        m_host.PostCharacters(text);
    }
}

void CGtkInputContext::StartComposition() {
    if (m_composing) {
        return;
    }
    m_composing = true;
    ClearPreedit();
    m_host.SendImeMessage(Message{WM_IME_STARTCOMPOSITION, 0, 0});
}

void CGtkInputContext::ReadPreedit() {
    if (m_cancelling) {
        return;
    }
    // Some input methods change the preedit without announcing its start.
    if (!m_composing) {
        StartComposition();
    }
    gchar* text = nullptr;
    PangoAttrList* attributes = nullptr;
    gint cursor = 0;
    gtk_im_context_get_preedit_string(m_context.get(), &text, &attributes, &cursor);
    GCharPtr owned(text);
    ClearPreedit();
    m_preeditAttributes = attributes;
    m_preeditUtf8 = text != nullptr ? text : "";
    const glong length = g_utf8_strlen(m_preeditUtf8.c_str(), -1);
    const glong cursorChars = std::clamp<glong>(cursor, 0, length);
    m_preeditCursor = static_cast<int>(
        g_utf8_offset_to_pointer(m_preeditUtf8.c_str(), cursorChars) - m_preeditUtf8.c_str());
    bool dropped = false;
    m_composition = Cp932Dropping(m_preeditUtf8, dropped);
    m_host.CompositionDisplayChanged();
    m_host.SendImeMessage(Message{WM_IME_COMPOSITION, 0, GCS_COMPSTR | GCS_CURSORPOS});
}

void CGtkInputContext::EndComposition() {
    if (!m_composing) {
        return;
    }
    m_composing = false;
    ClearPreedit();
    m_host.CompositionDisplayChanged();
    const Message end{WM_IME_ENDCOMPOSITION, 0, 0};
    if (m_cancelling) {
        m_host.PostImeMessage(end);
    } else {
        m_host.SendImeMessage(end);
    }
}

void CGtkInputContext::ClearPreedit() {
    m_composition.clear();
    m_preeditUtf8.clear();
    m_preeditCursor = 0;
    if (m_preeditAttributes != nullptr) {
        pango_attr_list_unref(m_preeditAttributes);
        m_preeditAttributes = nullptr;
    }
}

bool CGtkInputContext::FilterKey(GdkEventKey* event) {
    return m_open && gtk_im_context_filter_keypress(m_context.get(), event);
}

void CGtkInputContext::SetWindowFocus(bool focused) {
    m_focused = focused;
    if (!m_open) {
        return;
    }
    if (focused) {
        gtk_im_context_focus_in(m_context.get());
    } else {
        gtk_im_context_focus_out(m_context.get());
    }
}

void CGtkInputContext::Paint(cairo_t* cr) const {
    if (!m_composing || m_preeditUtf8.empty()) {
        return;
    }
    // The text under conversion looks as the editor's own text will: the family the
    // composition font's face resolves to, its em and weight, single-byte glyphs stretched
    // to its width. The editor's font comes from the same cache.
    const std::shared_ptr<const CFont> font = CFontCache::ForThisThread().Get(m_font);
    const cairo_matrix_t& size = font->FontMatrix();
    const double em = size.yy;
    const double xScale = size.yy > 0 ? size.xx / size.yy : 1.0;
    const int weight = m_font.weight <= 0 ? 400 : std::min(m_font.weight, 1000);

    PangoLayout* layout = pango_cairo_create_layout(cr);
    GObjectPtr<PangoLayout> owned(layout);
    pango_cairo_context_set_font_options(pango_layout_get_context(layout), font->Options());
    PangoFontDescription* description = pango_font_description_new();
    pango_font_description_set_family(description, font->Family().c_str());
    pango_font_description_set_absolute_size(description, em * PANGO_SCALE);
    pango_font_description_set_weight(description, static_cast<PangoWeight>(weight));
    pango_layout_set_font_description(layout, description);
    pango_font_description_free(description);
    pango_layout_set_text(layout, m_preeditUtf8.c_str(), static_cast<int>(m_preeditUtf8.size()));
    if (m_preeditAttributes != nullptr) {
        pango_layout_set_attributes(layout, m_preeditAttributes);
    }
    int width = 0;
    int textHeight = 0;
    pango_layout_get_pixel_size(layout, &width, &textHeight);

    cairo_save(cr);
    const double x = m_point.x;
    const double y = m_point.y;
    cairo_rectangle(cr, x - kCompositionPadding, y, width * xScale + 2 * kCompositionPadding,
                    textHeight);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_fill_preserve(cr);
    cairo_set_source_rgb(cr, 0.4, 0.4, 0.4);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    PangoRectangle cursor;
    pango_layout_index_to_pos(layout, m_preeditCursor, &cursor);
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_rectangle(cr, x + pango_units_to_double(cursor.x) * xScale, y, 1, textHeight);
    cairo_fill(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, xScale, 1);
    pango_cairo_update_layout(cr, layout);
    cairo_move_to(cr, 0, 0);
    pango_cairo_show_layout(cr, layout);
    cairo_restore(cr);
}

bool CGtkInputContext::SetOpen(bool open) {
    if (open == m_open) {
        return true;
    }
    if (!open) {
        CancelComposition();
        if (m_focused) {
            gtk_im_context_focus_out(m_context.get());
        }
        m_open = false;
        return true;
    }
    m_open = true;
    if (m_focused) {
        gtk_im_context_focus_in(m_context.get());
    }
    return true;
}

bool CGtkInputContext::GetConversionStatus(int& conversion, int& sentence) const {
    conversion = m_conversion;
    sentence = m_sentence;
    return true;
}

bool CGtkInputContext::SetConversionStatus(int conversion, int sentence) {
    m_conversion = conversion;
    m_sentence = sentence;
    return true;
}

bool CGtkInputContext::SetCompositionFont(const LogFont& font) {
    m_font = font;
    return true;
}

bool CGtkInputContext::SetCompositionPoint(CPoint point) {
    m_point = point;
    const int height = m_font.height != 0 ? std::abs(m_font.height) : kDefaultCompositionHeight;
    GdkRectangle area{point.x, point.y, 1, height};
    gtk_im_context_set_cursor_location(m_context.get(), &area);
    if (m_composing) {
        m_host.CompositionDisplayChanged();
    }
    return true;
}

std::string CGtkInputContext::CompositionString(int kind) const {
    if (kind == GCS_COMPSTR) {
        return m_composition;
    }
    if (kind == GCS_RESULTSTR) {
        return m_result;
    }
    return {};
}

void CGtkInputContext::CancelComposition() {
    if (!m_composing) {
        return;
    }
    // Resetting may make the input method commit what it holds; that text is dropped.
    m_cancelling = true;
    gtk_im_context_reset(m_context.get());
    EndComposition();
    m_cancelling = false;
}

}  // namespace tokeiya::gtk
