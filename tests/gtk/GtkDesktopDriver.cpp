#include "GtkTestSupport.hpp"
#include "PrivateBus.hpp"
#include "platform/Cp932.hpp"
#include "platform/gtk/DBusBus.hpp"
#include "platform/gtk/DesktopActivityWatch.hpp"
#include "platform/gtk/GtkNoticeWindow.hpp"
#include "platform/win/KeyboardLayout.hpp"
#include "tests/conformance/DesktopDriver.hpp"

// After the test headers: Xlib defines macros (None, Bool) that GoogleTest uses as names.
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <gdk/gdkx.h>

// The conformance suite's driver for the GTK desktop: input as the X server makes it
// (XTEST), time as it passes.
namespace tokeiya::conformance {
namespace {

using namespace win;
using gtk::test::FakeButton;
using gtk::test::FakeKey;
using gtk::test::FakeMove;
using gtk::test::PumpFor;
using gtk::test::PumpUntil;

// Longer than the double-click time, so that two clicks are two.
constexpr gint64 kClickGapUs = 600 * 1000;

// The key symbol of a key at a shift level: the named keys, else the character it types
// (Latin-1 key symbols are the characters' codes).
unsigned long KeysymOf(int virtualKey, bool shift) {
    switch (virtualKey) {
        case VK_BACK:
            return XK_BackSpace;
        case VK_TAB:
            return XK_Tab;
        case VK_RETURN:
            return XK_Return;
        case VK_SHIFT:
            return XK_Shift_L;
        case VK_CONTROL:
            return XK_Control_L;
        case VK_MENU:
            return XK_Alt_L;
        case VK_ESCAPE:
            return XK_Escape;
        case VK_SPACE:
            return XK_space;
        case VK_PRIOR:
            return XK_Prior;
        case VK_NEXT:
            return XK_Next;
        case VK_END:
            return XK_End;
        case VK_HOME:
            return XK_Home;
        case VK_LEFT:
            return XK_Left;
        case VK_UP:
            return XK_Up;
        case VK_RIGHT:
            return XK_Right;
        case VK_DOWN:
            return XK_Down;
        case VK_INSERT:
            return XK_Insert;
        case VK_DELETE:
            return XK_Delete;
        case VK_MULTIPLY:
            return XK_KP_Multiply;
        case VK_ADD:
            return XK_KP_Add;
        case VK_SUBTRACT:
            return XK_KP_Subtract;
        case VK_DIVIDE:
            return XK_KP_Divide;
        default:
            break;
    }
    if (virtualKey >= VK_F1 && virtualKey < VK_F1 + 12) {
        return XK_F1 + static_cast<unsigned long>(virtualKey - VK_F1);
    }
    const std::string typed = CharactersOfKey(virtualKey, shift ? kShift : 0);
    if (typed.size() == 1 && typed[0] >= 0x20 && typed[0] < 0x7F) {
        return static_cast<unsigned long>(typed[0]);
    }
    ADD_FAILURE() << "no key symbol for virtual key " << virtualKey << (shift ? " with Shift" : "");
    return 0;
}

Display* XDisplay() {
    return GDK_DISPLAY_XDISPLAY(gdk_display_get_default());
}

// The key that has `keysym` at the shift level asked for: a symbol may sit on two keys (the
// US layout has '<' on the comma key with Shift and on the extra key of 105-key boards
// without), and only the key with it at that level types it with that Shift state.
KeyCode KeycodeOf(unsigned long keysym, bool shift) {
    Display* display = XDisplay();
    int first = 0;
    int last = 0;
    XDisplayKeycodes(display, &first, &last);
    for (int code = first; code <= last; ++code) {
        if (XkbKeycodeToKeysym(display, static_cast<KeyCode>(code), 0, shift ? 1 : 0) == keysym) {
            return static_cast<KeyCode>(code);
        }
    }
    return XKeysymToKeycode(display, keysym);
}

void FakeKeycode(KeyCode code, bool down) {
    XTestFakeKeyEvent(XDisplay(), code, down ? True : False, CurrentTime);
    XFlush(XDisplay());
}

class GtkDriver : public DesktopDriver {
  public:
    GtkDriver() {
        m_proc.window = nullptr;
        m_window = gtk::test::Desktop().CreateMainWindow(m_proc, nullptr);
        m_gtk = dynamic_cast<gtk::CGtkMainWindow*>(m_window.get());
        m_proc.window = m_window.get();
        m_window->MoveWindow(CRect{40, 40, 680, 520});
        m_window->ShowWindow(SW_SHOWNORMAL);
        const bool shown = PumpUntil(
            [this] { return m_proc.Count(WM_SETFOCUS) > 0 && m_proc.Count(WM_SIZE) > 0; });
        EXPECT_TRUE(shown) << "the window was not shown and focused";
        PumpFor(50);
        m_proc.Clear();
    }
    ~GtkDriver() override {
        m_window->Destroy();
        m_window.reset();
        PumpFor(20);
    }

    IMainWindow& Window() override { return *m_window; }
    RecordingProc& Proc() override { return m_proc; }

    void Press(int virtualKey, int modifiers) override {
        PressKeysym(KeysymOf(virtualKey, (modifiers & kShift) != 0), modifiers);
    }
    void KeyDown(int virtualKey) override { Key(virtualKey, true); }
    void KeyUp(int virtualKey) override { Key(virtualKey, false); }

    void Type(std::string_view cp932) override {
        size_t i = 0;
        while (i < cp932.size()) {
            const auto byte = static_cast<unsigned char>(cp932[i]);
            if (auto stroke = byte < 0x80 ? KeyStrokeOf(static_cast<char>(byte)) : std::nullopt) {
                // The character's own symbol: two characters may share a code.
                const bool printable = byte >= 0x20 && byte < 0x7F;
                PressKeysym(printable ? byte : KeysymOf(stroke->virtualKey, false),
                            stroke->shift ? kShift : 0);
                ++i;
                continue;
            }
            size_t end = i;
            while (end < cp932.size()) {
                const auto b = static_cast<unsigned char>(cp932[end]);
                if (b < 0x80 && KeyStrokeOf(static_cast<char>(b))) {
                    break;
                }
                end += cp932::IsLeadByte(b) && end + 1 < cp932.size() ? 2 : 1;
            }
            Commit(cp932.substr(i, end - i));
            i = end;
        }
    }

    void Click(MouseButton button, int x, int y) override {
        MoveTo(x, y);
        const size_t before = ButtonUps();
        FakeButton(ButtonNumber(button), true);
        FakeButton(ButtonNumber(button), false);
        WaitFor([&] { return ButtonUps() >= before + 1; }, "button release");
        m_lastClickUs = g_get_monotonic_time();
    }
    void DoubleClick(MouseButton button, int x, int y) override {
        MoveTo(x, y);
        const size_t before = ButtonUps();
        for (int i = 0; i < 2; ++i) {
            FakeButton(ButtonNumber(button), true);
            FakeButton(ButtonNumber(button), false);
        }
        WaitFor([&] { return ButtonUps() >= before + 2; }, "button releases");
        m_lastClickUs = g_get_monotonic_time();
    }
    void Wheel(bool up, int x, int y) override {
        MoveTo(x, y);
        const size_t before = m_proc.Count(WM_MOUSEWHEEL);
        FakeButton(up ? 4 : 5, true);
        FakeButton(up ? 4 : 5, false);
        WaitFor([&] { return m_proc.Count(WM_MOUSEWHEEL) > before; }, "wheel turn");
    }

    bool RunUntil(const std::function<bool()>& done, int milliseconds) override {
        return PumpUntil(done, milliseconds);
    }
    std::int64_t ElapsedMs() override { return g_get_monotonic_time() / 1000; }
    COLORREF ShownPixel(int x, int y) override {
        GdkWindow* window = gtk_widget_get_window(m_gtk->ClientArea());
        gtk::GObjectPtr<GdkPixbuf> shot(gdk_pixbuf_get_from_window(window, x, y, 1, 1));
        if (shot == nullptr) {
            return kNothingShown;
        }
        const guchar* p = gdk_pixbuf_get_pixels(shot.get());
        return RGB(p[0], p[1], p[2]);
    }
    void PutForeignClipboardText(const std::string& utf8) override {
        gtk_clipboard_set_text(gtk_clipboard_get(GDK_SELECTION_CLIPBOARD), utf8.c_str(), -1);
    }

    std::unique_ptr<INoticeWindow> CreateNoticeWindow(const std::string& caption) override {
        return gtk::test::Desktop().CreateNoticeWindow(caption);
    }
    std::vector<std::string> NoticeTexts(INoticeWindow& notice) override {
        auto& shown = dynamic_cast<gtk::CGtkNoticeWindow&>(notice);
        if (shown.Window() == nullptr) {
            return {};
        }
        return {cp932::FromUtf8(gtk_window_get_title(shown.Window())),
                cp932::FromUtf8(gtk_label_get_text(shown.FirstLineLabel())),
                cp932::FromUtf8(gtk_label_get_text(shown.SecondLineLabel()))};
    }
    void ClickNoticeOk(INoticeWindow& notice) override {
        auto& shown = dynamic_cast<gtk::CGtkNoticeWindow&>(notice);
        GtkWidget* ok = shown.OkButton();
        ASSERT_NE(ok, nullptr) << "the notice was never shown";
        ASSERT_TRUE(PumpUntil([ok] { return gtk_widget_get_mapped(ok); })) << "OK not on screen";
        PumpFor(50);
        GtkAllocation button{};
        gtk_widget_get_allocation(ok, &button);
        int x = 0;
        int y = 0;
        gdk_window_get_origin(gtk_widget_get_window(ok), &x, &y);
        const gint64 since = g_get_monotonic_time() - m_lastClickUs;
        if (since < kClickGapUs) {
            PumpFor(static_cast<int>((kClickGapUs - since) / 1000) + 1);
        }
        FakeMove(x + button.x + button.width / 2, y + button.y + button.height / 2);
        PumpFor(20);
        FakeButton(1, true);
        FakeButton(1, false);
        m_lastClickUs = g_get_monotonic_time();
        PumpUntil([&shown] { return !shown.IsVisible(); });
    }

    // logind and the screen saver stand on a private bus named as both the system and the
    // session bus, started with the first watch.
    std::unique_ptr<IActivityWatch> WatchActivity(const ActivityHandlers& handlers) override {
        if (!m_bus) {
            m_bus = std::make_unique<gtk::test::PrivateBus>();
            m_systemBus = std::make_unique<tokeiya::test::ScopedEnv>("DBUS_SYSTEM_BUS_ADDRESS",
                                                                     m_bus->Address().c_str());
            m_sender = gtk::OpenBus(m_bus->Address());
        }
        return gtk::test::Desktop().WatchActivity(handlers);
    }
    void Sleep(bool on) override {
        Emit("/org/freedesktop/login1", "org.freedesktop.login1.Manager", "PrepareForSleep", on);
    }
    void Lock(bool on) override {
        Emit("/org/freedesktop/ScreenSaver", "org.freedesktop.ScreenSaver", "ActiveChanged", on);
    }

  private:
    // Sends a desktop signal and lets the main loop hear it.
    void Emit(const char* path, const char* interface, const char* member, bool on) {
        ASSERT_TRUE(m_sender) << "no watch was started";
        g_dbus_connection_emit_signal(m_sender.get(), nullptr, path, interface, member,
                                      g_variant_new("(b)", on ? TRUE : FALSE), nullptr);
        g_dbus_connection_flush_sync(m_sender.get(), nullptr, nullptr);
        PumpFor(150);
    }
    size_t KeyUps() const { return m_proc.Count(WM_KEYUP) + m_proc.Count(WM_SYSKEYUP); }
    size_t ButtonUps() const {
        return m_proc.Count(WM_LBUTTONUP) + m_proc.Count(WM_RBUTTONUP) + m_proc.Count(WM_MBUTTONUP);
    }
    static unsigned ButtonNumber(MouseButton button) {
        switch (button) {
            case MouseButton::Left:
                return 1;
            case MouseButton::Right:
                return 3;
            case MouseButton::Middle:
                break;
        }
        return 2;
    }

    // Waits for what the action made, then lets what its handlers posted arrive.
    void WaitFor(const std::function<bool()>& done, const char* what) {
        EXPECT_TRUE(PumpUntil(done)) << what << " missing: " << m_proc.KeyTrace();
        PumpFor(10);
    }

    // The modifier keys down, the key down and up, the modifier keys up.
    void PressKeysym(unsigned long keysym, int modifiers) {
        static constexpr std::pair<int, unsigned long> kModifiers[] = {
            {kShift, XK_Shift_L}, {kCtrl, XK_Control_L}, {kAlt, XK_Alt_L}};
        std::vector<unsigned long> held;
        for (const auto& [bit, modifier] : kModifiers) {
            if ((modifiers & bit) != 0) {
                held.push_back(modifier);
            }
        }
        const KeyCode code = KeycodeOf(keysym, (modifiers & kShift) != 0);
        const size_t before = KeyUps();
        for (unsigned long modifier : held) {
            FakeKey(modifier, true);
        }
        FakeKeycode(code, true);
        FakeKeycode(code, false);
        for (auto it = held.rbegin(); it != held.rend(); ++it) {
            FakeKey(*it, false);
        }
        WaitFor([&] { return KeyUps() >= before + 1 + held.size(); }, "key releases");
    }

    void Key(int virtualKey, bool down) {
        const auto count = [this, down] {
            return down ? m_proc.Count(WM_KEYDOWN) + m_proc.Count(WM_SYSKEYDOWN) : KeyUps();
        };
        const size_t before = count();
        FakeKey(KeysymOf(virtualKey, false), down);
        WaitFor([&] { return count() > before; }, down ? "key press" : "key release");
    }

    // What an input method commits outside a composition.
    void Commit(std::string_view cp932) {
        const size_t before = m_proc.Count(WM_CHAR);
        const std::string utf8 = cp932::ToUtf8(cp932);
        g_signal_emit_by_name(m_gtk->GtkInputMethod().Context(), "commit", utf8.c_str());
        WaitFor([&] { return m_proc.Count(WM_CHAR) >= before + cp932.size(); }, "characters");
    }

    void MoveTo(int x, int y) {
        // A click soon after the last one would make a double click of the two.
        const gint64 since = g_get_monotonic_time() - m_lastClickUs;
        if (since < kClickGapUs) {
            PumpFor(static_cast<int>((kClickGapUs - since) / 1000) + 1);
        }
        const CPoint origin = m_window->ClientOrigin();
        FakeMove(origin.x + x, origin.y + y);
        PumpFor(20);
    }

    RecordingProc m_proc;  // outlives the window
    std::unique_ptr<IMainWindow> m_window;
    gtk::CGtkMainWindow* m_gtk = nullptr;
    gint64 m_lastClickUs = 0;
    std::unique_ptr<gtk::test::PrivateBus> m_bus;
    std::unique_ptr<tokeiya::test::ScopedEnv> m_systemBus;
    gtk::GObjectPtr<GDBusConnection> m_sender;
};

}  // namespace

std::unique_ptr<DesktopDriver> MakeDesktopDriver() {
    return std::make_unique<GtkDriver>();
}

}  // namespace tokeiya::conformance
