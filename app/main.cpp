#include <gtk/gtk.h>
#include <time.h>
#include <unistd.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <fstream>
#include <functional>
#include <memory>
#include <string>

#include "app/CommandLine.hpp"
#include "platform/gtk/GtkDesktop.hpp"
#include "screens/CTokeiyaScreens.hpp"
#include "shell/CTokeiyaApp.hpp"

namespace {

// Milliseconds since this process was started, from the kernel's record of its start
// (10 ms resolution); -1 when it cannot be read.
long MillisecondsSinceStart() {
    std::ifstream stat("/proc/self/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    const std::size_t close = text.rfind(')');
    if (close == std::string::npos) {
        return -1;
    }
    // Field 22 (starttime) counted from the state, which is field 3.
    const char* p = text.c_str() + close + 2;
    for (int field = 3; field < 22 && *p != '\0'; ++p) {
        if (*p == ' ') {
            ++field;
        }
    }
    const double startSeconds = std::strtod(p, nullptr) / static_cast<double>(sysconf(_SC_CLK_TCK));
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    return static_cast<long>((now.tv_sec + now.tv_nsec / 1e9 - startSeconds) * 1000);
}

// The desktop as it is, noting for TOKEIYA_FIRST_FRAME_PROBE when the last dialog was
// answered (at start, the login's OK) and when the main window was asked for, so that the
// wait a person feels after the login is reported in two parts: the session (verification,
// login row, stamp) and the window (screen, first paint).
class StartupProbe : public tokeiya::IDesktop {
  public:
    explicit StartupProbe(tokeiya::IDesktop& desktop) : m_desktop(desktop) {}

    tokeiya::MessageAnswer MessageBox(const std::string& text,
                                      tokeiya::MessageButtons buttons) override {
        return m_desktop.MessageBox(text, buttons);
    }
    bool RunDialog(tokeiya::CDialogModel& model) override {
        const bool ok = m_desktop.RunDialog(model);
        m_answeredUs = g_get_monotonic_time();
        return ok;
    }
    bool AskSaveFile(std::string& path, const std::string& defaultExtension) override {
        return m_desktop.AskSaveFile(path, defaultExtension);
    }
    void RunBusy(const std::string& notice, const std::function<void()>& work) override {
        m_desktop.RunBusy(notice, work);
    }
    std::unique_ptr<tokeiya::INoticeWindow> CreateNoticeWindow(
        const std::string& caption) override {
        return m_desktop.CreateNoticeWindow(caption);
    }
    std::unique_ptr<tokeiya::win::IMainWindow> CreateMainWindow(
        tokeiya::win::IFrameProc& proc, std::function<void()> onDisplayLost) override {
        m_windowUs = g_get_monotonic_time();
        return m_desktop.CreateMainWindow(proc, std::move(onDisplayLost));
    }
    void ShowAboutDialog(const std::string& text) override { m_desktop.ShowAboutDialog(text); }

    // Called at the first frame: the times since the last answered dialog, if there was one.
    std::string Report() const {
        if (m_answeredUs == 0 || m_windowUs < m_answeredUs) {
            return "";
        }
        const gint64 now = g_get_monotonic_time();
        return ", " + std::to_string((now - m_answeredUs) / 1000) + " ms after the last dialog (" +
               std::to_string((m_windowUs - m_answeredUs) / 1000) + " ms session, " +
               std::to_string((now - m_windowUs) / 1000) + " ms window)";
    }

  private:
    tokeiya::IDesktop& m_desktop;
    gint64 m_answeredUs = 0;
    gint64 m_windowUs = 0;
};

// The installed definitions, found from the program's own place (share/tokeiya beside
// bin/), so that a copy unpacked under another root finds its own rather than none or
// another version's; the folder fixed at build time otherwise.
std::string InstalledDataFolder(const std::string& executableFolder, const std::string& fixed) {
    if (executableFolder.empty()) {
        return fixed;
    }
    std::string folder = executableFolder + TOKEIYA_DATA_FROM_BIN "/";
    return g_file_test(folder.c_str(), G_FILE_TEST_IS_DIR) ? folder : fixed;
}

// One line, for a start from a terminal, a service or a session without a desktop.
void TellNoDisplay() {
    const char* display = std::getenv("DISPLAY");
    if (display != nullptr && *display != '\0') {
        std::fprintf(stderr, "tokeiya: cannot open the display %s\n", display);
    } else {
        std::fprintf(stderr,
                     "tokeiya: no display (DISPLAY is not set): start it in a desktop session\n");
    }
}

}  // namespace

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "");
    if (const auto status = tokeiya::app::AnswerInformationOptions(argc, argv)) {
        return *status;
    }
    if (!gtk_init_check(&argc, &argv)) {
        TellNoDisplay();
        return 1;
    }
    if (const auto status = tokeiya::app::RefuseLeftoverArguments(argc, argv)) {
        return *status;
    }
    try {
        tokeiya::gtk::CGtkDesktop desktop;
        StartupProbe probe(desktop);
        tokeiya::AppEnvironment environment = tokeiya::AppEnvironment::FromSystem();
        environment.dataFolder =
            InstalledDataFolder(environment.executableFolder, environment.dataFolder);
        environment.screens = std::make_shared<tokeiya::CTokeiyaScreens>();
        // TOKEIYA_FIRST_FRAME_PROBE=1 reports how long the start took, up to the first frame.
        const bool probing = std::getenv("TOKEIYA_FIRST_FRAME_PROBE") != nullptr;
        if (probing) {
            environment.onFirstFrame = [&probe] {
                std::fprintf(stderr, "tokeiya: first frame %ld ms after start%s\n",
                             MillisecondsSinceStart(), probe.Report().c_str());
            };
        }
        tokeiya::CTokeiyaApp app(probing ? static_cast<tokeiya::IDesktop&>(probe) : desktop,
                                 std::move(environment));
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
