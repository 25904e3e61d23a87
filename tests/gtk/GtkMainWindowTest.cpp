#include "GtkTestSupport.hpp"

#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "platform/gtk/GtkText.hpp"

// After the test headers: Xlib defines macros (None, Bool) that GoogleTest uses as names.
#include <X11/Xlib.h>
#include <X11/keysym.h>

namespace tokeiya::gtk::test {
namespace {

using namespace win;

// Keys: virtual-key codes, modifiers and the characters of key-downs the proc leaves alone.
struct KeyCase {
    unsigned long keysym;
    std::vector<unsigned long> modifiers;
    const char* trace;
};

TEST_F(MainWindowTest, KeysArriveAsVirtualKeysFollowedByTheirCharacters) {
    ShowAndFocus();
    const KeyCase cases[] = {
        {XK_a, {}, "down 65, char 97, up 65"},
        {XK_a, {XK_Shift_L}, "down 16, down 65, char 65, up 65, up 16"},
        {XK_b, {XK_Control_L}, "down 17, down 66, char 2, up 66, up 17"},
        {XK_7, {}, "down 55, char 55, up 55"},
        {XK_Return, {}, "down 13, char 13, up 13"},
        {XK_BackSpace, {}, "down 8, char 8, up 8"},
        {XK_Escape, {}, "down 27, char 27, up 27"},
        {XK_Tab, {}, "down 9, char 9, up 9"},
        {XK_F5, {}, "down 116, up 116"},
        {XK_Delete, {}, "down 46, up 46"},
        {XK_Left, {}, "down 37, up 37"},
        {XK_KP_Add, {}, "down 107, char 43, up 107"},
        {XK_x, {XK_Alt_L}, "sysdown 18, sysdown 88, sysup 88, sysup 18"},
        {XK_F10, {}, "sysdown 121, sysup 121"},
    };
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(XKeysymToString(c.keysym));
        m_proc.messages.clear();
        Tap(c.keysym, c.modifiers);
        EXPECT_EQ(m_proc.KeyTrace(), c.trace);
    }
}

TEST_F(MainWindowTest, ModifierStateIsTheDeliveredEventsOwn) {
    ShowAndFocus();
    std::vector<int> seen;
    m_proc.onMessage = [&](const Message& m) {
        if (m.message == WM_KEYDOWN || m.message == WM_KEYUP) {
            seen.push_back(m_window->ModifierState());
        }
        return false;
    };
    Tap(XK_c, {XK_Shift_L, XK_Control_L});
    // Shift down, Ctrl down, C down and up with both, Ctrl up with Shift, Shift up alone.
    EXPECT_EQ(seen, (std::vector<int>{kShift, kShift | kCtrl, kShift | kCtrl, kShift | kCtrl,
                                      kShift, 0}));
    EXPECT_EQ(m_window->ModifierState(), 0);
}

TEST_F(MainWindowTest, AHandledKeyDownMakesNoCharacter) {
    ShowAndFocus();
    m_proc.onMessage = [](const Message& m) { return m.message == WM_KEYDOWN && m.wParam == 'Q'; };
    Tap(XK_q);
    Tap(XK_w);
    EXPECT_EQ(m_proc.KeyTrace(), "down 81, up 81, down 87, char 119, up 87");
}

TEST_F(MainWindowTest, AKeyHeldDownRepeatsWithTheWasDownBit) {
    ShowAndFocus();
    // Held past the server's auto-repeat delay: presses come again without releases.
    FakeKey(XK_d, true);
    PumpFor(900);
    FakeKey(XK_d, false);
    ASSERT_TRUE(PumpUntil([this] { return m_proc.Count(WM_KEYUP) == 1; }));
    const std::vector<Message> downs = m_proc.Of(WM_KEYDOWN);
    ASSERT_GE(downs.size(), 2u);
    EXPECT_EQ(downs[0].lParam & (LPARAM{1} << 30), 0);
    for (size_t i = 1; i < downs.size(); ++i) {
        EXPECT_NE(downs[i].lParam & (LPARAM{1} << 30), 0) << "repeat " << i;
    }
    EXPECT_EQ(m_proc.KeyTrace().find("up"), m_proc.KeyTrace().rfind("up"))
        << "one release only: " << m_proc.KeyTrace();
}

TEST_F(MainWindowTest, WhatAKeyHandlerPostsArrivesBeforeTheKeysCharacter) {
    ShowAndFocus();
    m_proc.onMessage = [this](const Message& m) {
        if (m.message == WM_KEYDOWN) {
            m_window->PostMessage(WM_USER + 7, m.wParam, 0);
        }
        return false;
    };
    Tap(XK_e);
    std::vector<UINT> order;
    for (const Message& m : m_proc.messages) {
        if (m.message == WM_KEYDOWN || m.message == WM_CHAR || m.message == WM_USER + 7) {
            order.push_back(m.message);
        }
    }
    EXPECT_EQ(order, (std::vector<UINT>{WM_KEYDOWN, WM_USER + 7, WM_CHAR}));
}

TEST_F(MainWindowTest, AnOpenInputMethodTakesTheKeysFirst) {
    ShowAndFocus();
    IInputContext* context = m_window->InputContext();
    ASSERT_NE(context, nullptr);
    ASSERT_TRUE(context->SetOpen(true));
    Tap(XK_a);
    // GTK's simple input method commits the character itself: no key-down reaches the proc.
    EXPECT_EQ(m_proc.KeyTrace(), "char 97, up 65");
    m_proc.messages.clear();
    ASSERT_TRUE(context->SetOpen(false));
    Tap(XK_a);
    EXPECT_EQ(m_proc.KeyTrace(), "down 65, char 97, up 65");
}

// The input method's signals, as ibus or fcitx emit them.
TEST_F(MainWindowTest, CompositionsBecomeCompositionMessagesAndTheirResultCharacters) {
    ShowAndFocus();
    GtkIMContext* im = m_gtk->GtkInputMethod().Context();
    IInputContext* context = m_window->InputContext();
    std::string resultDuringDelivery;
    bool takeResult = false;
    m_proc.onMessage = [&](const Message& m) {
        if (m.message == WM_IME_COMPOSITION && (m.lParam & GCS_RESULTSTR) != 0) {
            resultDuringDelivery = context->CompositionString(GCS_RESULTSTR);
            return takeResult;
        }
        return false;
    };

    // Outside a composition a commit is plain characters, CP932 bytes one by one.
    g_signal_emit_by_name(im, "commit", U8(u8"全"));
    PumpFor(20);
    EXPECT_EQ(m_proc.KeyTrace(), "char 145, char 83");

    m_proc.messages.clear();
    g_signal_emit_by_name(im, "preedit-start");
    g_signal_emit_by_name(im, "preedit-changed");
    g_signal_emit_by_name(im, "commit", U8(u8"給料"));
    g_signal_emit_by_name(im, "preedit-end");
    PumpFor(20);
    ASSERT_GE(m_proc.messages.size(), 4u);
    EXPECT_EQ(m_proc.messages[0].message, WM_IME_STARTCOMPOSITION);
    EXPECT_EQ(m_proc.messages[1].message, WM_IME_COMPOSITION);
    EXPECT_EQ(m_proc.messages[1].lParam, GCS_COMPSTR | GCS_CURSORPOS);
    EXPECT_EQ(m_proc.messages[2].message, WM_IME_COMPOSITION);
    EXPECT_EQ(m_proc.messages[2].lParam, GCS_RESULTSTR);
    EXPECT_EQ(m_proc.messages[3].message, WM_IME_ENDCOMPOSITION);
    EXPECT_EQ(resultDuringDelivery, "給料");
    EXPECT_EQ(context->CompositionString(GCS_RESULTSTR), "");
    // Not taken: the system's default makes characters of it.
    EXPECT_EQ(m_proc.KeyTrace(), "char 139, char 139, char 151, char 191");

    m_proc.messages.clear();
    takeResult = true;
    g_signal_emit_by_name(im, "preedit-start");
    g_signal_emit_by_name(im, "commit", U8(u8"残業"));
    g_signal_emit_by_name(im, "preedit-end");
    PumpFor(20);
    EXPECT_EQ(m_proc.KeyTrace(), "");

    // Characters CP932 lacks are dropped, the rest kept.
    m_proc.messages.clear();
    g_signal_emit_by_name(im, "commit", U8(u8"a😀b"));
    PumpFor(20);
    EXPECT_EQ(m_proc.KeyTrace(), "char 97, char 98");
}

TEST_F(MainWindowTest, CancellingACompositionEndsItAfterTheCurrentHandler) {
    ShowAndFocus();
    GtkIMContext* im = m_gtk->GtkInputMethod().Context();
    g_signal_emit_by_name(im, "preedit-start");
    m_proc.messages.clear();
    m_window->InputContext()->CancelComposition();
    EXPECT_EQ(m_proc.Count(WM_IME_ENDCOMPOSITION), 0u);
    PumpFor(20);
    EXPECT_EQ(m_proc.Count(WM_IME_ENDCOMPOSITION), 1u);
    g_signal_emit_by_name(im, "preedit-end");  // the input method's own end comes too late
    EXPECT_EQ(m_proc.Count(WM_IME_ENDCOMPOSITION), 1u);
}

// Mouse.

TEST_F(MainWindowTest, ClicksArriveInClientCoordinatesAndDoubleClicksInWindowsOrder) {
    ShowAndFocus();
    const CPoint origin = m_window->ClientOrigin();
    FakeMove(origin.x + 30, origin.y + 20);
    FakeButton(1, true);
    FakeButton(1, false);
    ASSERT_TRUE(PumpUntil([this] { return m_proc.Count(WM_LBUTTONUP) == 1; }));
    const std::vector<Message> downs = m_proc.Of(WM_LBUTTONDOWN);
    ASSERT_EQ(downs.size(), 1u);
    EXPECT_EQ(downs[0].lParam, MakeLParam(30, 20));
    EXPECT_EQ(downs[0].wParam, MK_LBUTTON);
    EXPECT_EQ(m_proc.Of(WM_LBUTTONUP)[0].wParam, 0u);

    PumpFor(600);  // beyond the double-click time
    m_proc.messages.clear();
    for (int i = 0; i < 2; ++i) {
        FakeButton(1, true);
        FakeButton(1, false);
    }
    ASSERT_TRUE(PumpUntil([this] { return m_proc.Count(WM_LBUTTONUP) == 2; }));
    std::vector<UINT> buttons;
    for (const Message& m : m_proc.messages) {
        if (m.message >= WM_LBUTTONDOWN && m.message <= WM_MBUTTONDBLCLK) {
            buttons.push_back(m.message);
        }
    }
    EXPECT_EQ(buttons,
              (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}));
}

TEST_F(MainWindowTest, WheelTurnsCarryNotchesAndScreenCoordinates) {
    ShowAndFocus();
    const CPoint origin = m_window->ClientOrigin();
    FakeMove(origin.x + 50, origin.y + 60);
    for (unsigned button : {4u, 5u}) {
        FakeButton(button, true);
        FakeButton(button, false);
    }
    ASSERT_TRUE(PumpUntil([this] { return m_proc.Count(WM_MOUSEWHEEL) == 2; }));
    const std::vector<Message> wheels = m_proc.Of(WM_MOUSEWHEEL);
    EXPECT_EQ(HighWordSigned(static_cast<LPARAM>(wheels[0].wParam)), WHEEL_DELTA);
    EXPECT_EQ(HighWordSigned(static_cast<LPARAM>(wheels[1].wParam)), -WHEEL_DELTA);
    EXPECT_EQ(wheels[0].lParam, MakeLParam(origin.x + 50, origin.y + 60));
}

// Posted messages, timers, painting.

TEST_F(MainWindowTest, PostedMessagesArriveInOrderAfterThePoster) {
    std::vector<WPARAM> order;
    m_proc.onMessage = [&](const Message& m) {
        if (m.message == WM_USER + 3) {
            order.push_back(m.wParam);
            if (m.wParam == 2) {
                m_window->PostMessage(WM_USER + 3, 100, 0);  // after everything queued now
            }
        }
        return true;
    };
    for (WPARAM i = 0; i < 5; ++i) {
        m_window->PostMessage(WM_USER + 3, i, 0);
    }
    EXPECT_TRUE(order.empty());
    ASSERT_TRUE(PumpUntil([&] { return order.size() == 6; }));
    EXPECT_EQ(order, (std::vector<WPARAM>{0, 1, 2, 3, 4, 100}));
}

TEST_F(MainWindowTest, TimersRepeatRestartAndStop) {
    ASSERT_TRUE(m_window->SetTimer(5, 20));
    ASSERT_TRUE(PumpUntil([this] { return m_proc.Count(WM_TIMER) >= 3; }));
    EXPECT_EQ(m_proc.Of(WM_TIMER)[0].wParam, 5u);
    EXPECT_TRUE(m_window->KillTimer(5));
    EXPECT_FALSE(m_window->KillTimer(5));
    m_proc.messages.clear();
    PumpFor(80);
    EXPECT_EQ(m_proc.Count(WM_TIMER), 0u);

    // Setting a running id again restarts it with the new period.
    ASSERT_TRUE(m_window->SetTimer(6, 60000));
    ASSERT_TRUE(m_window->SetTimer(6, 10));
    EXPECT_TRUE(PumpUntil([this] { return m_proc.Count(WM_TIMER) >= 1; }, 1000));
}

TEST_F(MainWindowTest, PaintsThroughTheProcAndInvertsTheCaret) {
    m_proc.onPaint = [](CDC& dc) { dc.FillSolidRect(CRect{0, 0, 100, 100}, RGB(255, 0, 0)); };
    ShowAndFocus();
    auto pixel = [this](int x, int y) {
        GdkWindow* window = gtk_widget_get_window(m_gtk->ClientArea());
        GObjectPtr<GdkPixbuf> shot(gdk_pixbuf_get_from_window(window, x, y, 1, 1));
        const guchar* p = gdk_pixbuf_get_pixels(shot.get());
        return (p[0] << 16) | (p[1] << 8) | p[2];
    };
    ASSERT_TRUE(PumpUntil([&] { return m_proc.paints > 0 && pixel(10, 10) == 0xFF0000; }));
    EXPECT_EQ(pixel(150, 150), 0xFFFFFF);

    ASSERT_TRUE(m_window->CreateCaret(2, 16));
    m_window->SetCaretPos(CPoint{20, 30});
    m_window->ShowCaret();
    // Red inverted is cyan; the caret blinks, so both phases turn up.
    EXPECT_TRUE(PumpUntil([&] { return pixel(20, 30) == 0x00FFFF; }));
    EXPECT_TRUE(PumpUntil([&] { return pixel(20, 30) == 0xFF0000; }));
    m_window->HideCaret();
    PumpFor(700);
    EXPECT_EQ(pixel(20, 30), 0xFF0000);
}

// Clipboard.

TEST_F(MainWindowTest, ClipboardTextRoundTripsAsCp932AndReachesOthersAsUtf8) {
    ASSERT_TRUE(m_window->SetClipboardText("全員\r\n給料"));
    GtkClipboard* clipboard = gtk_clipboard_get(GDK_SELECTION_CLIPBOARD);
    GCharPtr utf8(gtk_clipboard_wait_for_text(clipboard));
    ASSERT_NE(utf8, nullptr);
    EXPECT_STREQ(utf8.get(), U8(u8"全員\n給料"));

    std::string text;
    ASSERT_TRUE(m_window->GetClipboardText(text));
    EXPECT_EQ(text, "全員\n給料");

    // Another program's text: what CP932 cannot hold is left out, the rest stays whole.
    gtk_clipboard_set_text(clipboard, U8(u8"出勤😀"), -1);
    ASSERT_TRUE(m_window->GetClipboardText(text));
    EXPECT_EQ(text, "出勤");
}

// Menus.

MenuItem Command(const std::string& text, UINT id, bool checkable = false) {
    MenuItem item;
    item.text = text;
    item.id = id;
    item.checkable = checkable;
    return item;
}

Menu TestMenu() {
    MenuItem file;
    file.text = "ファイル(&F)";
    file.children = {Command("開く", 100), Command("閉じる", 101), MenuItem(),
                     Command("画面サイズ最適化", 102, true), Command("A&&B\tCtrl+B", 103)};
    return Menu{file};
}

TEST_F(MainWindowTest, MenuCommandsFollowTheStatesAskedBeforeTheMenuOpens) {
    m_window->SetMenu(TestMenu());
    ShowAndFocus();
    m_proc.states[101] = CommandState{false, false};
    m_proc.states[102] = CommandState{true, true};

    GtkWidget* open = m_gtk->MenuItemOf(100);
    GtkWidget* close = m_gtk->MenuItemOf(101);
    GtkWidget* fit = m_gtk->MenuItemOf(102);
    ASSERT_TRUE(open != nullptr && close != nullptr && fit != nullptr);
    EXPECT_STREQ(gtk_menu_item_get_label(GTK_MENU_ITEM(m_gtk->MenuItemOf(103))), "A&B");
    GList* top = gtk_container_get_children(GTK_CONTAINER(m_gtk->MenuBarWidget()));
    ASSERT_NE(top, nullptr);
    EXPECT_STREQ(gtk_menu_item_get_label(GTK_MENU_ITEM(top->data)), U8(u8"ファイル(_F)"));
    GtkWidget* submenu = gtk_menu_item_get_submenu(GTK_MENU_ITEM(top->data));
    g_list_free(top);

    gtk_widget_show(submenu);  // what opening it does first
    EXPECT_EQ(m_proc.stateQueries, (std::vector<UINT>{100, 101, 102, 103}));
    EXPECT_TRUE(gtk_widget_get_sensitive(open));
    EXPECT_FALSE(gtk_widget_get_sensitive(close));
    EXPECT_TRUE(gtk_check_menu_item_get_active(GTK_CHECK_MENU_ITEM(fit)));
    EXPECT_EQ(m_proc.Count(WM_COMMAND), 0u) << "setting the check mark is not a choice";

    gtk_menu_item_activate(GTK_MENU_ITEM(open));
    gtk_menu_item_activate(GTK_MENU_ITEM(close));  // disabled: never delivered
    const std::vector<Message> commands = m_proc.Of(WM_COMMAND);
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0].wParam, 100u);
}

TEST_F(MainWindowTest, APopupMenuDeliversTheChosenCommand) {
    ShowAndFocus();
    m_proc.states[101] = CommandState{false, false};
    m_window->TrackPopupMenu(TestMenu()[0].children);
    GtkWidget* popup = m_gtk->PopupMenuWidget();
    ASSERT_NE(popup, nullptr);
    EXPECT_TRUE(PumpUntil([popup] { return gtk_widget_get_mapped(popup); }));
    EXPECT_FALSE(gtk_widget_get_sensitive(m_gtk->MenuItemOf(101)));
    gtk_menu_shell_activate_item(GTK_MENU_SHELL(popup), m_gtk->MenuItemOf(103), TRUE);
    PumpFor(20);
    const std::vector<Message> commands = m_proc.Of(WM_COMMAND);
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0].wParam, 103u);
    EXPECT_FALSE(gtk_widget_get_mapped(popup));
}

// The notification icon, with the events a notification area would pass on.
TEST_F(MainWindowTest, NotificationIconEventsArriveAsTrayNotifications) {
    m_window->AddTrayIcon("とけい屋");
    ASSERT_TRUE(m_window->HasTrayIcon());
    GObject* icon = m_gtk->TrayStatusIcon();
    ASSERT_NE(icon, nullptr);
    gchar* tip = nullptr;
    g_object_get(icon, "tooltip-text", &tip, nullptr);
    GCharPtr ownedTip(tip);
    EXPECT_STREQ(tip, U8(u8"とけい屋"));

    auto send = [icon](GdkEventType type, guint button) {
        GdkEvent* event = gdk_event_new(type);
        event->button.button = button;
        gboolean stop = FALSE;
        g_signal_emit_by_name(
            icon, type == GDK_BUTTON_RELEASE ? "button-release-event" : "button-press-event", event,
            &stop);
        gdk_event_free(event);
    };
    send(GDK_BUTTON_PRESS, 3);
    send(GDK_BUTTON_RELEASE, 3);
    send(GDK_2BUTTON_PRESS, 1);
    send(GDK_3BUTTON_PRESS, 1);
    std::vector<LPARAM> events;
    for (const Message& m : m_proc.Of(WM_TRAY_NOTIFY)) {
        EXPECT_EQ(m.wParam, 1u);
        events.push_back(m.lParam);
    }
    EXPECT_EQ(events, (std::vector<LPARAM>{WM_RBUTTONDOWN, WM_RBUTTONUP, WM_LBUTTONDBLCLK}));

    m_window->RemoveTrayIcon();
    EXPECT_FALSE(m_window->HasTrayIcon());
}

// The frame.

TEST_F(MainWindowTest, ShowingAndHidingAreAnnouncedFirst) {
    m_window->ShowWindow(SW_SHOWNORMAL);
    ASSERT_FALSE(m_proc.messages.empty());
    EXPECT_EQ(m_proc.messages[0].message, WM_SHOWWINDOW);
    EXPECT_EQ(m_proc.messages[0].wParam, 1u);
    EXPECT_TRUE(m_window->IsVisible());
    ASSERT_TRUE(PumpUntil([this] { return m_proc.Count(WM_SIZE) > 0; }));
    EXPECT_EQ(m_proc.Of(WM_SIZE)[0].wParam, SIZE_RESTORED);

    m_proc.messages.clear();
    m_window->ShowWindow(SW_SHOWNORMAL);  // already shown: nothing to announce
    EXPECT_EQ(m_proc.Count(WM_SHOWWINDOW), 0u);
    m_window->ShowWindow(SW_HIDE);
    ASSERT_EQ(m_proc.Count(WM_SHOWWINDOW), 1u);
    EXPECT_EQ(m_proc.Of(WM_SHOWWINDOW)[0].wParam, 0u);
    EXPECT_FALSE(m_window->IsVisible());
}

TEST_F(MainWindowTest, MovingTheWindowSendsTheNewClientSize) {
    m_window->SetMenu(TestMenu());
    ShowAndFocus();
    m_window->MoveWindow(CRect{100, 90, 700, 510});
    ASSERT_TRUE(PumpUntil([this] {
        const std::vector<Message> sizes = m_proc.Of(WM_SIZE);
        return !sizes.empty() && LowWordSigned(sizes.back().lParam) == 600;
    }));
    const Message size = m_proc.Of(WM_SIZE).back();
    EXPECT_EQ(size.wParam, SIZE_RESTORED);
    const int barHeight = gtk_widget_get_allocated_height(m_gtk->MenuBarWidget());
    EXPECT_GT(barHeight, 0);
    EXPECT_EQ(HighWordSigned(size.lParam), 420 - barHeight);
    EXPECT_EQ(m_window->ClientRect(), (CRect{0, 0, 600, 420 - barHeight}));
    EXPECT_TRUE(PumpUntil([this] { return m_window->WindowRect() == CRect{100, 90, 700, 510}; }));
    EXPECT_EQ(m_window->ClientOrigin(), (CPoint{100, 90 + barHeight}));
    // Without a window manager nothing is reserved: the work area is the whole screen.
    GdkWindow* root = gdk_get_default_root_window();
    EXPECT_EQ(m_window->MaximizedSize(),
              (CSize{gdk_window_get_width(root), gdk_window_get_height(root)}));
}

TEST_F(MainWindowTest, TheCloseButtonAsksAndOnlyDestroyCloses) {
    ShowAndFocus();
    gtk_window_close(m_gtk->Window());
    ASSERT_TRUE(PumpUntil([this] { return m_proc.Count(WM_CLOSE) == 1; }));
    EXPECT_TRUE(m_window->IsVisible());

    m_window->SetTimer(1, 5);
    m_window->Destroy();
    ASSERT_FALSE(m_proc.messages.empty());
    EXPECT_EQ(m_proc.messages.back().message, WM_DESTROY);
    EXPECT_FALSE(m_window->IsVisible());
    m_window->PostMessage(WM_USER, 0, 0);
    const size_t count = m_proc.messages.size();
    PumpFor(50);
    EXPECT_EQ(m_proc.messages.size(), count) << "nothing reaches a destroyed window";
}

TEST_F(MainWindowTest, QuitEndsTheMessageLoop) {
    m_proc.onMessage = [this](const Message& m) {
        if (m.message == WM_USER + 9) {
            m_window->Quit();
        }
        return true;
    };
    m_window->PostMessage(WM_USER + 9, 0, 0);
    m_window->RunMessageLoop();
    EXPECT_EQ(m_proc.Count(WM_USER + 9), 1u);
    EXPECT_EQ(m_proc.Count(WM_ENDSESSION), 0u);
}

// Answers the next message box as soon as it is up and tells whose transient it was.
GtkWindow* ParentOfNextMessageBox() {
    GtkWindow* parent = nullptr;
    bool answered = false;
    struct Watch {
        GtkWindow** parent;
        bool* answered;
    } watch{&parent, &answered};
    const guint source = g_timeout_add(
        20,
        [](gpointer data) -> gboolean {
            auto* w = static_cast<Watch*>(data);
            GList* toplevels = gtk_window_list_toplevels();
            for (GList* l = toplevels; l != nullptr; l = l->next) {
                if (GTK_IS_DIALOG(l->data) && gtk_widget_get_mapped(GTK_WIDGET(l->data))) {
                    *w->parent = gtk_window_get_transient_for(GTK_WINDOW(l->data));
                    *w->answered = true;
                    gtk_dialog_response(GTK_DIALOG(l->data), GTK_RESPONSE_NO);
                    break;
                }
            }
            g_list_free(toplevels);
            return *w->answered ? G_SOURCE_REMOVE : G_SOURCE_CONTINUE;
        },
        &watch);
    EXPECT_EQ(Desktop().MessageBox("確認", MessageButtons::YesNo), MessageAnswer::No);
    if (!answered) {
        g_source_remove(source);
    }
    return parent;
}

TEST_F(MainWindowTest, DialogsParentOnTheMainWindowOnlyWhileItIsShown) {
    ShowAndFocus();
    EXPECT_EQ(ParentOfNextMessageBox(), m_gtk->Window());
    m_window->ShowWindow(SW_HIDE);
    EXPECT_EQ(ParentOfNextMessageBox(), nullptr);
}

// The session ends by signal in a child process of its own: the signal ends the sessions
// of every window of a process for good.
TEST(SessionEndTest, ASignalSendsEndSessionAndEndsTheLoop) {
    char self[4096] = {};
    ASSERT_GT(readlink("/proc/self/exe", self, sizeof self - 1), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        char* const args[] = {self, const_cast<char*>(kSessionEndChild), nullptr};
        execv(self, args);
        _exit(127);
    }
    int status = 0;
    pid_t ended = 0;
    for (int waited = 0; waited < 200 && (ended = waitpid(child, &status, WNOHANG)) == 0;
         ++waited) {
        g_usleep(50000);
    }
    if (ended == 0) {
        kill(child, SIGKILL);
        waitpid(child, &status, 0);
        FAIL() << "the message loop did not return on SIGTERM";
    }
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace
}  // namespace tokeiya::gtk::test
