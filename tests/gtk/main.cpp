#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <clocale>
#include <cstdio>
#include <cstring>

#include "GtkTestSupport.hpp"

// The window tests need a display (run them under xvfb-run) and settings that do not depend
// on the desktop they happen to run on.
int main(int argc, char** argv) {
    g_setenv("GSETTINGS_BACKEND", "memory", FALSE);
    g_setenv("NO_AT_BRIDGE", "1", FALSE);
    // Keys reach the input method only while it is open; GTK's own simple one makes the
    // tests independent of ibus or fcitx being installed.
    g_setenv("GTK_IM_MODULE", "gtk-im-context-simple", TRUE);
    gdk_set_allowed_backends("x11");
    std::setlocale(LC_ALL, "");
    if (!gtk_init_check(&argc, &argv)) {
        std::fprintf(stderr, "tokeiya_gtk_tests: cannot open the display (run under xvfb-run)\n");
        return 1;
    }
    if (argc > 1 && std::strcmp(argv[1], tokeiya::gtk::test::kSessionEndChild) == 0) {
        return tokeiya::gtk::test::RunSessionEndChild();
    }
    // GTK reports its misuse (a destroyed widget used again, a widget of the wrong type) as a
    // warning or a critical and goes on; here it stops the run instead.
    g_log_set_always_fatal(static_cast<GLogLevelFlags>(G_LOG_LEVEL_WARNING | G_LOG_LEVEL_CRITICAL));
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
