#include "GtkTestSupport.hpp"

#include "tests/conformance/DesktopDriver.hpp"

// After the test headers: Xlib defines macros (None, Bool) that GoogleTest uses as names.
#include <X11/extensions/XTest.h>
#include <gdk/gdkx.h>

#include <algorithm>
#include <csignal>
#include <cstdio>

namespace tokeiya::gtk::test {

using namespace win;

CGtkDesktop& Desktop() {
    static CGtkDesktop desktop;
    return desktop;
}

bool RecordingProc::WindowProc(const Message& message) {
    messages.push_back(message);
    return onMessage ? onMessage(message) : false;
}

void RecordingProc::OnPaint(CDC& dc) {
    ++paints;
    if (onPaint) {
        onPaint(dc);
    }
}

void RecordingProc::UpdateCommand(UINT id, CommandState& state) {
    stateQueries.push_back(id);
    if (auto found = states.find(id); found != states.end()) {
        state = found->second;
    }
}

std::vector<Message> RecordingProc::Of(UINT message) const {
    std::vector<Message> found;
    std::copy_if(messages.begin(), messages.end(), std::back_inserter(found),
                 [message](const Message& m) { return m.message == message; });
    return found;
}

std::string RecordingProc::KeyTrace() const {
    return conformance::KeyTraceOf(messages);
}

bool PumpUntil(const std::function<bool()>& done, int timeoutMs) {
    const gint64 deadline = g_get_monotonic_time() + gint64{timeoutMs} * 1000;
    while (!done()) {
        if (g_get_monotonic_time() > deadline) {
            return false;
        }
        if (!g_main_context_iteration(nullptr, FALSE)) {
            g_usleep(1000);
        }
    }
    return true;
}

void PumpFor(int milliseconds) {
    const gint64 end = g_get_monotonic_time() + gint64{milliseconds} * 1000;
    PumpUntil([end] { return g_get_monotonic_time() >= end; }, milliseconds + 1000);
}

namespace {

Display* XDisplay() {
    return GDK_DISPLAY_XDISPLAY(gdk_display_get_default());
}

}  // namespace

void FakeKey(unsigned long keysym, bool down) {
    Display* display = XDisplay();
    XTestFakeKeyEvent(display, XKeysymToKeycode(display, keysym), down ? True : False, CurrentTime);
    XFlush(display);
}

void TapKey(unsigned long keysym, const std::vector<unsigned long>& modifiers) {
    for (unsigned long modifier : modifiers) {
        FakeKey(modifier, true);
    }
    FakeKey(keysym, true);
    FakeKey(keysym, false);
    for (auto it = modifiers.rbegin(); it != modifiers.rend(); ++it) {
        FakeKey(*it, false);
    }
}

void FakeMove(int screenX, int screenY) {
    XTestFakeMotionEvent(XDisplay(), -1, screenX, screenY, CurrentTime);
    XFlush(XDisplay());
}

void FakeButton(unsigned button, bool down) {
    XTestFakeButtonEvent(XDisplay(), button, down ? True : False, CurrentTime);
    XFlush(XDisplay());
}

void MainWindowTest::SetUp() {
    m_window = Desktop().CreateMainWindow(m_proc, nullptr);
    m_gtk = dynamic_cast<CGtkMainWindow*>(m_window.get());
    ASSERT_NE(m_gtk, nullptr);
}

void MainWindowTest::TearDown() {
    if (m_window != nullptr) {
        m_window->Destroy();
        m_window.reset();
    }
    PumpFor(20);
}

void MainWindowTest::ShowAndFocus() {
    m_window->MoveWindow(CRect{40, 40, 680, 520});
    m_window->ShowWindow(SW_SHOWNORMAL);
    ASSERT_TRUE(PumpUntil([this] {
        return m_proc.Count(WM_SETFOCUS) > 0 && m_proc.Count(WM_SIZE) > 0;
    })) << "the window was not shown and focused";
    PumpFor(50);
    m_proc.messages.clear();
}

void MainWindowTest::Tap(unsigned long keysym, const std::vector<unsigned long>& modifiers) {
    const size_t before = m_proc.Count(WM_KEYUP) + m_proc.Count(WM_SYSKEYUP);
    TapKey(keysym, modifiers);
    const size_t expected = before + 1 + modifiers.size();
    ASSERT_TRUE(PumpUntil([&] {
        return m_proc.Count(WM_KEYUP) + m_proc.Count(WM_SYSKEYUP) >= expected;
    })) << "key releases missing: "
        << m_proc.KeyTrace();
    PumpFor(10);
}

// The child of the session-end test: a window whose proc gets SIGTERM while the message
// loop runs. Its exit status tells the parent what happened (0: all as expected).
int RunSessionEndChild() {
    CGtkDesktop desktop;
    RecordingProc proc;
    proc.onMessage = [](const Message& message) {
        if (message.message == WM_USER + 1) {
            std::raise(SIGTERM);
        }
        return false;
    };
    std::unique_ptr<IMainWindow> window = desktop.CreateMainWindow(proc, nullptr);
    window->ShowWindow(SW_SHOWNORMAL);
    window->PostMessage(WM_USER + 1, 0, 0);
    window->RunMessageLoop();  // returns on the signal, or the parent gives up on us
    const std::vector<Message> ends = proc.Of(WM_ENDSESSION);
    if (ends.size() != 1 || ends[0].wParam != 1) {
        std::fprintf(stderr, "child: %zu WM_ENDSESSION messages\n", ends.size());
        return 2;
    }
    if (proc.messages.back().message != WM_ENDSESSION) {
        std::fprintf(stderr, "child: a message came after WM_ENDSESSION\n");
        return 3;
    }
    // The session is over: a question is answered No at once, without showing a box.
    if (desktop.MessageBox("?", MessageButtons::YesNo) != MessageAnswer::No) {
        return 4;
    }
    window->Destroy();
    return 0;
}

}  // namespace tokeiya::gtk::test
