#include "platform/gtk/GtkTrayIcon.hpp"

#include <cmath>
#include <utility>

#include "platform/Cp932.hpp"
#include "platform/gdi/CairoGlue.hpp"
#include "platform/gtk/GtkCallback.hpp"
#include "platform/gtk/GtkClicks.hpp"

// GtkStatusIcon is deprecated in GTK 3 but is still the one way to an XEmbed notification
// area, which is what the desktops of the offices this runs in offer.
G_GNUC_BEGIN_IGNORE_DEPRECATIONS

namespace tokeiya::gtk {

namespace {

constexpr int kPictureSize = 48;

void DrawHand(cairo_t* cr, double centre, double angle, double length, double width) {
    cairo_set_line_width(cr, width);
    cairo_move_to(cr, centre, centre);
    cairo_line_to(cr, centre + length * std::sin(angle), centre - length * std::cos(angle));
    cairo_stroke(cr);
}

}  // namespace

GObjectPtr<GdkPixbuf> CGtkTrayIcon::ClockPicture(int size) {
    gdi::SurfacePtr surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size));
    cairo_t* cr = cairo_create(surface.get());
    const double centre = size / 2.0;
    const double radius = size / 2.0 - size / 16.0;
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_arc(cr, centre, centre, radius, 0, 2 * M_PI);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_fill_preserve(cr);
    cairo_set_source_rgb(cr, 0.12, 0.47, 0.39);  // the menu cursor's green
    cairo_set_line_width(cr, size / 12.0);
    cairo_stroke(cr);
    cairo_set_source_rgb(cr, 0.1, 0.1, 0.1);
    for (int hour = 0; hour < 12; hour += 3) {
        const double angle = hour * M_PI / 6;
        cairo_arc(cr, centre + radius * 0.75 * std::sin(angle),
                  centre - radius * 0.75 * std::cos(angle), size / 32.0, 0, 2 * M_PI);
        cairo_fill(cr);
    }
    DrawHand(cr, centre, 10 * M_PI / 6 + M_PI / 12, radius * 0.5, size / 12.0);  // ten past ten
    DrawHand(cr, centre, 2 * M_PI / 6, radius * 0.75, size / 16.0);
    cairo_destroy(cr);
    cairo_surface_flush(surface.get());
    return GObjectPtr<GdkPixbuf>(gdk_pixbuf_get_from_surface(surface.get(), 0, 0, size, size));
}

CGtkTrayIcon::CGtkTrayIcon(const std::string& tipCp932, MouseHandler onMouse)
    : m_onMouse(std::move(onMouse)) {
    GObjectPtr<GdkPixbuf> picture = ClockPicture(kPictureSize);
    GtkStatusIcon* icon = gtk_status_icon_new_from_pixbuf(picture.get());
    m_icon.reset(G_OBJECT(icon));
    gtk_status_icon_set_title(icon, "Tokeiya");
    gtk_status_icon_set_tooltip_text(icon, cp932::ToUtf8(tipCp932).c_str());
    g_signal_connect(icon, "button-press-event", G_CALLBACK(OnButton), this);
    g_signal_connect(icon, "button-release-event", G_CALLBACK(OnButton), this);
    gtk_status_icon_set_visible(icon, TRUE);
}

CGtkTrayIcon::~CGtkTrayIcon() {
    GtkStatusIcon* icon = GTK_STATUS_ICON(m_icon.get());
    g_signal_handlers_disconnect_by_data(icon, this);
    gtk_status_icon_set_visible(icon, FALSE);
}

bool CGtkTrayIcon::Embedded() const {
    return gtk_status_icon_is_embedded(GTK_STATUS_ICON(m_icon.get()));
}

gboolean CGtkTrayIcon::OnButton(GObject*, GdkEventButton* event, gpointer self) noexcept {
    Guarded("notification icon", [event, self] {
        if (const win::UINT message = ButtonMessage(event); message != 0) {
            static_cast<CGtkTrayIcon*>(self)->m_onMouse(message);
        }
    });
    return TRUE;
}

}  // namespace tokeiya::gtk

G_GNUC_END_IGNORE_DEPRECATIONS
