#include <gtk/gtk.h>

#include <clocale>
#include <cstdio>
#include <exception>

#include "platform/gtk/GtkDesktop.hpp"
#include "shell/CTokeiyaApp.hpp"

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "");
    if (!gtk_init_check(&argc, &argv)) {
        std::fprintf(stderr, "tokeiya: cannot open the display\n");
        return 1;
    }
    try {
        tokeiya::gtk::CGtkDesktop desktop;
        tokeiya::CTokeiyaApp app(desktop, tokeiya::AppEnvironment::FromSystem());
        if (!app.InitInstance()) {
            return app.ExitInstance();
        }
        app.Run();
        return app.ExitInstance();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tokeiya: %s\n", e.what());
        return 1;
    }
}
