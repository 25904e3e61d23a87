#include "platform/gtk/GtkPrinting.hpp"

#include <cairo-pdf.h>
#include <cairo-ps.h>
#include <gtk/gtkunixprint.h>

#include <algorithm>
#include <utility>

#include "platform/Cp932.hpp"
#include "platform/PrivateKeyFile.hpp"
#include "platform/gtk/GObjectPtr.hpp"
#include "platform/gtk/GtkText.hpp"

namespace tokeiya::gtk {
namespace {

constexpr const char* kPageGroup = "Page Setup";
constexpr const char* kSettingsGroup = "Print Settings";
constexpr int kDetailsLimitMs = 5000;
constexpr int kSendLimitMs = 60000;

std::string TakeMessage(GError* error, const char* fallback) {
    std::string text = error != nullptr ? error->message : fallback;
    if (error != nullptr) {
        g_error_free(error);
    }
    return cp932::FromUtf8Dropping(text);
}

// The settings and the page setup a stored text describes; what it lacks is GTK's default,
// on A4 paper in `orientation`.
struct LoadedSetup {
    GObjectPtr<GtkPrintSettings> settings;
    GObjectPtr<GtkPageSetup> page;
};

LoadedSetup Load(const std::string& text, PaperOrientation orientation) {
    LoadedSetup loaded;
    KeyFilePtr file(g_key_file_new());
    const bool read =
        !text.empty() &&
        g_key_file_load_from_data(file.get(), text.data(), text.size(), G_KEY_FILE_NONE, nullptr);
    if (read) {
        loaded.settings.reset(
            gtk_print_settings_new_from_key_file(file.get(), kSettingsGroup, nullptr));
        loaded.page.reset(gtk_page_setup_new_from_key_file(file.get(), kPageGroup, nullptr));
    }
    if (loaded.settings == nullptr) {
        loaded.settings.reset(gtk_print_settings_new());
    }
    if (loaded.page == nullptr) {
        loaded.page.reset(gtk_page_setup_new());
        GtkPaperSize* a4 = gtk_paper_size_new(GTK_PAPER_NAME_A4);
        gtk_page_setup_set_paper_size_and_default_margins(loaded.page.get(), a4);
        gtk_paper_size_free(a4);
        gtk_page_setup_set_orientation(loaded.page.get(), orientation == PaperOrientation::Landscape
                                                              ? GTK_PAGE_ORIENTATION_LANDSCAPE
                                                              : GTK_PAGE_ORIENTATION_PORTRAIT);
    }
    return loaded;
}

// The page setup first: when the text has to be shortened, it loses print options rather
// than the paper.
std::string Save(GtkPrintSettings* settings, GtkPageSetup* page) {
    KeyFilePtr file(g_key_file_new());
    gtk_page_setup_to_key_file(page, file.get(), kPageGroup);
    gtk_print_settings_to_key_file(settings, file.get(), kSettingsGroup);
    GCharPtr data(g_key_file_to_data(file.get(), nullptr, nullptr));
    return data ? std::string(data.get()) : std::string();
}

// Runs the default main context until `done` or until `limitMs` passed; false on timeout.
bool WaitFor(const bool& done, int limitMs) {
    bool timedOut = false;
    const guint timer = g_timeout_add(
        static_cast<guint>(limitMs),
        [](gpointer flag) -> gboolean {
            *static_cast<bool*>(flag) = true;
            return G_SOURCE_REMOVE;
        },
        &timedOut);
    while (!done && !timedOut) {
        g_main_context_iteration(nullptr, TRUE);
    }
    if (!timedOut) {
        g_source_remove(timer);
    }
    return done;
}

// A printer looked for by name among those the print backends list. The listing may end
// after the caller stopped waiting, so the search owns itself until GTK lets it go.
struct PrinterSearch {
    std::string name;
    GtkPrinter* found = nullptr;
    bool done = false;
    bool abandoned = false;

    static gboolean Offer(GtkPrinter* printer, gpointer data) {
        auto* search = static_cast<PrinterSearch*>(data);
        if (search->found == nullptr && search->name == gtk_printer_get_name(printer)) {
            search->found = GTK_PRINTER(g_object_ref(printer));
            return TRUE;
        }
        return FALSE;
    }
    static void Finished(gpointer data) {
        auto* search = static_cast<PrinterSearch*>(data);
        search->done = true;
        if (search->abandoned) {
            if (search->found != nullptr) {
                g_object_unref(search->found);
            }
            delete search;
        }
    }
};

GObjectPtr<GtkPrinter> FindPrinter(const std::string& name) {
    auto* search = new PrinterSearch{name};
    gtk_enumerate_printers(&PrinterSearch::Offer, search, &PrinterSearch::Finished, FALSE);
    WaitFor(search->done, CGtkPrinting::kListLimitMs);
    // Found is enough: the backends may go on listing the others.
    GObjectPtr<GtkPrinter> printer(std::exchange(search->found, nullptr));
    if (search->done) {
        delete search;
    } else {
        search->abandoned = true;
    }
    return printer;
}

// The margins the printer cannot print on, in points, as the sheet lies; zero where the
// printer does not tell.
void HardMargins(GtkPrinter* printer, GtkPageOrientation orientation, PageGeometry& geometry) {
    if (!gtk_printer_has_details(printer)) {
        bool acquired = false;
        const CSignalConnection details(printer, "details-acquired",
                                        G_CALLBACK(+[](GtkPrinter*, gboolean, gpointer flag) {
                                            *static_cast<bool*>(flag) = true;
                                        }),
                                        &acquired);
        gtk_printer_request_details(printer);
        WaitFor(acquired, kDetailsLimitMs);
    }
    double top = 0, bottom = 0, left = 0, right = 0;
    if (!gtk_printer_get_hard_margins(printer, &top, &bottom, &left, &right)) {
        return;
    }
    // Turned a quarter to the left, the portrait's left edge is the landscape's bottom.
    if (orientation == GTK_PAGE_ORIENTATION_LANDSCAPE ||
        orientation == GTK_PAGE_ORIENTATION_REVERSE_LANDSCAPE) {
        geometry.hardLeft = top;
        geometry.hardTop = right;
        geometry.hardRight = bottom;
        geometry.hardBottom = left;
    } else {
        geometry.hardLeft = left;
        geometry.hardTop = top;
        geometry.hardRight = right;
        geometry.hardBottom = bottom;
    }
}

// A document printed as a GTK print job: drawn on the job's own surface, spooled, then sent.
class CGtkPrintJobDevice : public IPrinterDevice {
  public:
    CGtkPrintJobDevice(GObjectPtr<GtkPrinter> printer, LoadedSetup setup,
                       const PageGeometry& geometry)
        : m_printer(std::move(printer)), m_setup(std::move(setup)), m_geometry(geometry) {}

    const PageGeometry& Geometry() const override { return m_geometry; }

    cairo_surface_t* StartDoc(const std::string& title, std::string& reason) override {
        AbortDoc();
        m_job.reset(gtk_print_job_new(cp932::ToUtf8(title).c_str(), m_printer.get(),
                                      m_setup.settings.get(), m_setup.page.get()));
        GError* error = nullptr;
        cairo_surface_t* surface = gtk_print_job_get_surface(m_job.get(), &error);
        if (surface == nullptr) {
            reason = TakeMessage(error, "no print surface");
            m_job.reset();
            return nullptr;
        }
        // The job's surface has the paper upright; a landscape sheet is sent landscape, as
        // GTK's print operation sends it, and the print service turns it onto the paper.
        if (cairo_surface_get_type(surface) == CAIRO_SURFACE_TYPE_PDF) {
            cairo_pdf_surface_set_size(surface, m_geometry.paperWidth, m_geometry.paperHeight);
        } else if (cairo_surface_get_type(surface) == CAIRO_SURFACE_TYPE_PS) {
            cairo_ps_surface_set_size(surface, m_geometry.paperWidth, m_geometry.paperHeight);
        }
        return surface;
    }

    bool EndDoc(std::string& reason) override {
        if (m_job == nullptr) {
            reason = "no document";
            return false;
        }
        cairo_surface_finish(gtk_print_job_get_surface(m_job.get(), nullptr));
        auto* sent = new SendState;
        sent->references = 2;
        gtk_print_job_send(m_job.get(), &SendState::Done, sent, &SendState::Release);
        const bool finished = WaitFor(sent->done, kSendLimitMs);
        const bool ok = finished && sent->message.empty();
        reason = !finished ? std::string("timeout") : sent->message;
        SendState::Release(sent);
        m_job.reset();
        return ok;
    }

    void AbortDoc() override {
        if (m_job != nullptr) {
            // Never sent: the spool file goes with the job.
            cairo_surface_finish(gtk_print_job_get_surface(m_job.get(), nullptr));
            m_job.reset();
        }
    }

    ~CGtkPrintJobDevice() override { AbortDoc(); }

  private:
    struct SendState {
        int references = 0;
        bool done = false;
        std::string message;
        static void Done(GtkPrintJob*, gpointer data, const GError* error) {
            auto* state = static_cast<SendState*>(data);
            state->done = true;
            if (error != nullptr) {
                state->message = cp932::FromUtf8Dropping(error->message);
            }
        }
        static void Release(gpointer data) {
            auto* state = static_cast<SendState*>(data);
            if (--state->references == 0) {
                delete state;
            }
        }
    };

    GObjectPtr<GtkPrinter> m_printer;
    LoadedSetup m_setup;
    PageGeometry m_geometry;
    GObjectPtr<GtkPrintJob> m_job;
};

}  // namespace

CGtkPrinting::CGtkPrinting(CGtkModalRunner& runner, std::function<GtkWindow*()> parent)
    : m_runner(runner), m_parent(std::move(parent)) {}

bool CGtkPrinting::SetupPrinter(const std::string& title, PaperOrientation orientation,
                                PrinterSetup& setup) {
    if (m_runner.SessionEnding()) {
        return false;
    }
    LoadedSetup loaded = Load(setup.settings, orientation);
    if (!setup.device.empty()) {
        gtk_print_settings_set_printer(loaded.settings.get(), cp932::ToUtf8(setup.device).c_str());
    }
    ToplevelPtr widget(
        gtk_print_unix_dialog_new(cp932::ToUtf8(title).c_str(), m_parent ? m_parent() : nullptr));
    auto* dialog = GTK_PRINT_UNIX_DIALOG(widget.get());
    gtk_print_unix_dialog_set_settings(dialog, loaded.settings.get());
    gtk_print_unix_dialog_set_page_setup(dialog, loaded.page.get());
    gtk_print_unix_dialog_set_embed_page_setup(dialog, TRUE);
    gtk_print_unix_dialog_set_support_selection(dialog, FALSE);
    gtk_print_unix_dialog_set_has_selection(dialog, FALSE);
    // The dialog only chooses: nothing is printed when it closes.
    if (GtkWidget* ok = gtk_dialog_get_widget_for_response(GTK_DIALOG(dialog), GTK_RESPONSE_OK)) {
        gtk_button_set_label(GTK_BUTTON(ok), "OK");
    }
    if (m_runner.RunDialog(GTK_DIALOG(dialog)) != GTK_RESPONSE_OK) {
        return false;
    }
    GtkPrinter* printer = gtk_print_unix_dialog_get_selected_printer(dialog);
    if (printer == nullptr) {
        return false;
    }
    GObjectPtr<GtkPrintSettings> settings(gtk_print_unix_dialog_get_settings(dialog));
    gtk_print_settings_set_printer(settings.get(), gtk_printer_get_name(printer));
    setup.driver = cp932::FromUtf8Dropping(gtk_printer_get_description(printer) != nullptr
                                               ? gtk_printer_get_description(printer)
                                               : "");
    setup.device = cp932::FromUtf8Dropping(gtk_printer_get_name(printer));
    setup.port = cp932::FromUtf8Dropping(
        gtk_printer_get_location(printer) != nullptr ? gtk_printer_get_location(printer) : "");
    setup.settings = Save(settings.get(), gtk_print_unix_dialog_get_page_setup(dialog));
    return true;
}

std::unique_ptr<IPrinterDevice> CGtkPrinting::OpenPrinter(const PrinterSetup& setup,
                                                          std::string& reason) {
    if (setup.device.empty()) {
        reason = "プリンタが選ばれていません。";
        return nullptr;
    }
    GObjectPtr<GtkPrinter> printer = FindPrinter(cp932::ToUtf8(setup.device));
    if (printer == nullptr) {
        reason = "プリンタ " + setup.device + " が見つかりません。";
        return nullptr;
    }
    LoadedSetup loaded = Load(setup.settings, PaperOrientation::Portrait);
    gtk_print_settings_set_printer(loaded.settings.get(), gtk_printer_get_name(printer.get()));
    PageGeometry geometry;
    geometry.paperWidth = gtk_page_setup_get_paper_width(loaded.page.get(), GTK_UNIT_POINTS);
    geometry.paperHeight = gtk_page_setup_get_paper_height(loaded.page.get(), GTK_UNIT_POINTS);
    geometry.dotsPerInch = gtk_print_settings_get_resolution(loaded.settings.get());
    HardMargins(printer.get(), gtk_page_setup_get_orientation(loaded.page.get()), geometry);
    return std::make_unique<CGtkPrintJobDevice>(std::move(printer), std::move(loaded), geometry);
}

}  // namespace tokeiya::gtk
