#include "platform/gdi/PageSetupText.hpp"

#include <glib.h>

#include <memory>

namespace tokeiya {
namespace {

constexpr double kPointsPerMm = 72.0 / 25.4;
constexpr double kA4Width = 210.0;
constexpr double kA4Height = 297.0;
constexpr int kDefaultDpi = 300;

struct KeyFileFree {
    void operator()(GKeyFile* file) const noexcept { g_key_file_free(file); }
};

double ReadLength(GKeyFile* file, const char* key, double fallback) {
    GError* error = nullptr;
    const double value = g_key_file_get_double(file, "Page Setup", key, &error);
    if (error != nullptr) {
        g_error_free(error);
        return fallback;
    }
    // A sheet between a label and a poster; anything else is a damaged text.
    return value >= 10.0 && value <= 2000.0 ? value : fallback;
}

}  // namespace

PageGeometry PageGeometryFromSettings(const std::string& settings, PaperOrientation orientation) {
    double width = kA4Width;
    double height = kA4Height;
    bool landscape = orientation == PaperOrientation::Landscape;
    int dpi = kDefaultDpi;
    std::unique_ptr<GKeyFile, KeyFileFree> file(g_key_file_new());
    if (!settings.empty() && g_key_file_load_from_data(file.get(), settings.data(), settings.size(),
                                                       G_KEY_FILE_NONE, nullptr)) {
        width = ReadLength(file.get(), "Width", width);
        height = ReadLength(file.get(), "Height", height);
        if (gchar* text = g_key_file_get_string(file.get(), "Page Setup", "Orientation", nullptr)) {
            const std::string name = text;
            g_free(text);
            landscape = name == "landscape" || name == "reverse_landscape";
        }
        if (gchar* text =
                g_key_file_get_string(file.get(), "Print Settings", "resolution", nullptr)) {
            const gint64 value = g_ascii_strtoll(text, nullptr, 10);
            g_free(text);
            if (value >= 72 && value <= 4800) {
                dpi = static_cast<int>(value);
            }
        }
    }
    PageGeometry geometry;
    geometry.paperWidth = (landscape ? height : width) * kPointsPerMm;
    geometry.paperHeight = (landscape ? width : height) * kPointsPerMm;
    geometry.dotsPerInch = dpi;
    return geometry;
}

}  // namespace tokeiya
