#include "platform/gdi/PageSetupText.hpp"

#include <glib.h>

#include "platform/PrivateKeyFile.hpp"

namespace tokeiya {
namespace {

constexpr double kPointsPerMm = 72.0 / 25.4;
constexpr double kA4Width = 210.0;
constexpr double kA4Height = 297.0;
constexpr int kDefaultDpi = 300;

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
    KeyFilePtr file(g_key_file_new());
    if (!settings.empty() && g_key_file_load_from_data(file.get(), settings.data(), settings.size(),
                                                       G_KEY_FILE_NONE, nullptr)) {
        width = ReadLength(file.get(), "Width", width);
        height = ReadLength(file.get(), "Height", height);
        const std::string name = KeyFileString(file.get(), "Page Setup", "Orientation");
        if (!name.empty()) {
            landscape = name == "landscape" || name == "reverse_landscape";
        }
        const std::string resolution = KeyFileString(file.get(), "Print Settings", "resolution");
        const gint64 value = g_ascii_strtoll(resolution.c_str(), nullptr, 10);
        if (value >= 72 && value <= 4800) {
            dpi = static_cast<int>(value);
        }
    }
    PageGeometry geometry;
    geometry.paperWidth = (landscape ? height : width) * kPointsPerMm;
    geometry.paperHeight = (landscape ? width : height) * kPointsPerMm;
    geometry.dotsPerInch = dpi;
    return geometry;
}

}  // namespace tokeiya
