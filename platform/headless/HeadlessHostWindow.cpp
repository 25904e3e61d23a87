#include "platform/headless/HeadlessHostWindow.hpp"

#include <algorithm>
#include <utility>

#include "platform/Cp932.hpp"
#include "platform/TextHelpers.hpp"
#include "platform/win/KeyboardLayout.hpp"

namespace tokeiya::headless {

using namespace win;

bool HeadlessInputContext::SetOpen(bool open) {
    m_open = open;
    return true;
}

bool HeadlessInputContext::GetConversionStatus(int& conversion, int& sentence) const {
    conversion = m_conversion;
    sentence = m_sentence;
    return true;
}

bool HeadlessInputContext::SetConversionStatus(int conversion, int sentence) {
    m_conversion = conversion;
    m_sentence = sentence;
    return true;
}

bool HeadlessInputContext::SetCompositionFont(const LogFont& font) {
    m_font = font;
    return true;
}

bool HeadlessInputContext::SetCompositionPoint(CPoint point) {
    m_compositionPoint = point;
    return true;
}

std::string HeadlessInputContext::CompositionString(int kind) const {
    if (kind == GCS_COMPSTR) {
        return m_composition;
    }
    if (kind == GCS_RESULTSTR) {
        return m_result;
    }
    return {};
}

void HeadlessInputContext::CancelComposition() {
    m_composition.clear();
    ++m_cancelled;
}

namespace {

CRect Union(const CRect& a, const CRect& b) {
    if (a.IsEmpty()) {
        return b;
    }
    if (b.IsEmpty()) {
        return a;
    }
    return CRect{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                 std::max(a.bottom, b.bottom)};
}

}  // namespace

HeadlessHostWindow::HeadlessHostWindow(int clientWidth, int clientHeight)
    : m_clockStartMs(Clock::Now() * 1000),
      m_clock(Clock::Now()),
      m_width(clientWidth),
      m_height(clientHeight) {
    m_windowRect = CRect{m_origin.x, m_origin.y, m_origin.x + m_width, m_origin.y + m_height};
}

HeadlessHostWindow::~HeadlessHostWindow() = default;

void HeadlessHostWindow::SetProc(IWindowProc* proc) {
    m_proc = proc;
    m_frameProc = nullptr;
}

void HeadlessHostWindow::SetFrameProc(IFrameProc* proc) {
    m_proc = proc;
    m_frameProc = proc;
}

bool HeadlessHostWindow::Deliver(const Message& message) {
    if (m_destroyed || m_proc == nullptr) {
        return false;
    }
    if (m_proc->WindowProc(message)) {
        return true;
    }
    m_unhandled.push_back(message);
    // The system's default handling of a composition result: the text arrives as
    // characters, byte by byte.
    if (message.message == WM_IME_COMPOSITION && (message.lParam & GCS_RESULTSTR) != 0) {
        for (unsigned char byte : m_inputContext.m_result) {
            PostMessage(WM_CHAR, byte, 1);
        }
    }
    return false;
}

bool HeadlessHostWindow::Send(UINT message, WPARAM wParam, LPARAM lParam) {
    return Deliver(Message{message, wParam, lParam});
}

bool HeadlessHostWindow::Key(int virtualKey, bool press, char typed) {
    const int before = m_held;
    const bool repeat = press && m_keysDown.count(virtualKey) != 0;
    const KeyMessage key = KeyMessageOf(virtualKey, press, repeat, before);
    if (press) {
        m_keysDown.insert(virtualKey);
    } else {
        m_keysDown.erase(virtualKey);
    }
    m_held = key.held;
    const bool handled = Deliver(Message{key.message, static_cast<WPARAM>(virtualKey), key.lParam});
    // TranslateMessage's part: a key-down left alone posts its character, after whatever
    // its handler posted.
    if (press && !handled) {
        const bool plain = typed != 0 && (before & (kCtrl | kAlt)) == 0;
        for (unsigned char byte :
             plain ? std::string(1, typed) : CharactersOfKey(virtualKey, before)) {
            PostMessage(WM_CHAR, byte, key.lParam);
        }
    }
    Pump();
    return handled;
}

int HeadlessHostWindow::HoldModifiers(int modifiers) {
    static constexpr std::pair<int, int> kOrder[] = {
        {kShift, VK_SHIFT}, {kCtrl, VK_CONTROL}, {kAlt, VK_MENU}};
    int pressed = 0;
    for (const auto& [bit, key] : kOrder) {
        if ((modifiers & bit) != 0 && (m_held & bit) == 0) {
            Key(key, true);
            pressed |= bit;
        }
    }
    return pressed;
}

void HeadlessHostWindow::ReleaseModifiers(int pressed) {
    static constexpr std::pair<int, int> kOrder[] = {
        {kAlt, VK_MENU}, {kCtrl, VK_CONTROL}, {kShift, VK_SHIFT}};
    for (const auto& [bit, key] : kOrder) {
        if ((pressed & bit) != 0) {
            Key(key, false);
        }
    }
}

bool HeadlessHostWindow::KeyDown(int virtualKey) {
    return Key(virtualKey, true);
}

bool HeadlessHostWindow::KeyUp(int virtualKey) {
    return Key(virtualKey, false);
}

bool HeadlessHostWindow::KeyDown(int virtualKey, int modifiers) {
    const int pressed = HoldModifiers(modifiers & ~ModifierOfKey(virtualKey));
    const bool handled = Key(virtualKey, true);
    ReleaseModifiers(pressed);
    return handled;
}

bool HeadlessHostWindow::KeyUp(int virtualKey, int modifiers) {
    const int pressed = HoldModifiers(modifiers & ~ModifierOfKey(virtualKey));
    const bool handled = Key(virtualKey, false);
    ReleaseModifiers(pressed);
    return handled;
}

void HeadlessHostWindow::Press(int virtualKey, int modifiers) {
    const int pressed = HoldModifiers(modifiers & ~ModifierOfKey(virtualKey));
    Key(virtualKey, true);
    Key(virtualKey, false);
    ReleaseModifiers(pressed);
}

void HeadlessHostWindow::Type(std::string_view cp932) {
    auto keyOf = [](unsigned char byte) {
        return byte < 0x80 ? KeyStrokeOf(static_cast<char>(byte)) : std::nullopt;
    };
    size_t i = 0;
    while (i < cp932.size()) {
        if (auto stroke = keyOf(static_cast<unsigned char>(cp932[i]))) {
            const int pressed = HoldModifiers(stroke->shift ? kShift : 0);
            // With Shift held by someone else the key types its shifted character instead.
            const bool asTyped = ((m_held & kShift) != 0) == stroke->shift;
            Key(stroke->virtualKey, true, asTyped ? cp932[i] : '\0');
            Key(stroke->virtualKey, false);
            ReleaseModifiers(pressed);
            ++i;
            continue;
        }
        // Up to the next character a key makes; a trail byte may look like one.
        size_t end = i;
        while (end < cp932.size()) {
            const auto byte = static_cast<unsigned char>(cp932[end]);
            if (keyOf(byte)) {
                break;
            }
            end += cp932::IsLeadByte(byte) && end + 1 < cp932.size() ? 2 : 1;
        }
        PostCommittedText(cp932.substr(i, end - i));
        i = end;
    }
}

void HeadlessHostWindow::PostCommittedText(std::string_view cp932) {
    for (unsigned char byte : cp932) {
        PostMessage(WM_CHAR, byte, kKeyRepeatOnce);
    }
    Pump();
}

UINT HeadlessHostWindow::ButtonMessage(Button button, int offset) {
    switch (button) {
        case Button::Left:
            return WM_LBUTTONDOWN + offset;
        case Button::Right:
            return WM_RBUTTONDOWN + offset;
        case Button::Middle:
            break;
    }
    return WM_MBUTTONDOWN + offset;
}

WPARAM HeadlessHostWindow::ButtonBit(Button button) {
    switch (button) {
        case Button::Left:
            return MK_LBUTTON;
        case Button::Right:
            return MK_RBUTTON;
        case Button::Middle:
            break;
    }
    return MK_MBUTTON;
}

WPARAM HeadlessHostWindow::MouseKeys() const {
    WPARAM keys = m_buttonsDown;
    if ((m_held & kShift) != 0) {
        keys |= MK_SHIFT;
    }
    if ((m_held & kCtrl) != 0) {
        keys |= MK_CONTROL;
    }
    return keys;
}

void HeadlessHostWindow::MouseDown(Button button, int x, int y) {
    m_buttonsDown |= ButtonBit(button);
    Deliver(Message{ButtonMessage(button, 0), MouseKeys(), MakeLParam(x, y)});
    Pump();
}

void HeadlessHostWindow::MouseUp(Button button, int x, int y) {
    m_buttonsDown &= ~ButtonBit(button);
    Deliver(Message{ButtonMessage(button, 1), MouseKeys(), MakeLParam(x, y)});
    Pump();
}

void HeadlessHostWindow::MouseMove(int x, int y) {
    Deliver(Message{WM_MOUSEMOVE, MouseKeys(), MakeLParam(x, y)});
    Pump();
}

void HeadlessHostWindow::Click(Button button, int x, int y, int modifiers) {
    const int pressed = HoldModifiers(modifiers);
    MouseDown(button, x, y);
    MouseUp(button, x, y);
    ReleaseModifiers(pressed);
}

void HeadlessHostWindow::DoubleClick(Button button, int x, int y) {
    MouseDown(button, x, y);
    MouseUp(button, x, y);
    // The second press arrives as the double click instead of a button-down.
    m_buttonsDown |= ButtonBit(button);
    Deliver(Message{ButtonMessage(button, 2), MouseKeys(), MakeLParam(x, y)});
    Pump();
    MouseUp(button, x, y);
}

void HeadlessHostWindow::Wheel(int delta, int x, int y) {
    Deliver(Message{WM_MOUSEWHEEL, MakeWParam(static_cast<int>(MouseKeys()), delta),
                    MakeLParam(x + m_origin.x, y + m_origin.y)});
    Pump();
}

void HeadlessHostWindow::Compose(std::string_view cp932) {
    if (!m_hasInputMethod) {
        return;
    }
    m_inputContext.m_composition = std::string(cp932);
    m_inputContext.m_result.clear();
    // The composition, not its text, decides the start: an emptied text is still one.
    if (!m_composing) {
        m_composing = true;
        Deliver(Message{WM_IME_STARTCOMPOSITION, 0, 0});
    }
    Deliver(Message{WM_IME_COMPOSITION, 0, GCS_COMPSTR | GCS_CURSORPOS});
    Pump();
}

void HeadlessHostWindow::CommitComposition(std::string_view cp932) {
    if (!m_hasInputMethod) {
        return;
    }
    if (!m_composing) {
        Deliver(Message{WM_IME_STARTCOMPOSITION, 0, 0});
    }
    m_composing = false;
    m_inputContext.m_composition.clear();
    m_inputContext.m_result = std::string(cp932);
    Deliver(Message{WM_IME_COMPOSITION, 0, GCS_RESULTSTR});
    Deliver(Message{WM_IME_ENDCOMPOSITION, 0, 0});
    Pump();
    m_inputContext.m_result.clear();
}

void HeadlessHostWindow::CancelCompositionByUser() {
    if (!m_composing) {
        return;
    }
    m_composing = false;
    m_inputContext.m_composition.clear();
    Deliver(Message{WM_IME_COMPOSITION, 0, 0});
    Deliver(Message{WM_IME_ENDCOMPOSITION, 0, 0});
    Pump();
}

int HeadlessHostWindow::Pump(int limit) {
    int delivered = 0;
    while (!m_posted.empty() && delivered < limit) {
        const Message message = m_posted.front();
        m_posted.pop_front();
        Deliver(message);
        ++delivered;
    }
    return delivered;
}

void HeadlessHostWindow::AdvanceTime(int milliseconds) {
    // The clock never runs backwards.
    const std::int64_t end = m_now + std::max(milliseconds, 0);
    do {
        Pump();
    } while (RunNextDue(end));
    m_now = std::max(m_now, end);
    SyncClock();
}

bool HeadlessHostWindow::RunNextDue(std::int64_t end) {
    std::erase_if(m_timeouts, [](const PendingTimeout& t) { return t.fire.expired(); });
    auto timer =
        std::min_element(m_timers.begin(), m_timers.end(),
                         [](const auto& a, const auto& b) { return a.second.due < b.second.due; });
    // Of equal times the earlier made goes first.
    auto timeout = std::min_element(
        m_timeouts.begin(), m_timeouts.end(),
        [](const PendingTimeout& a, const PendingTimeout& b) { return a.due < b.due; });
    const bool timerFirst = timer != m_timers.end() &&
                            (timeout == m_timeouts.end() || timer->second.due <= timeout->due);
    const std::int64_t due = timerFirst                    ? timer->second.due
                             : timeout != m_timeouts.end() ? timeout->due
                                                           : end + 1;
    if (due > end) {
        return false;
    }
    m_now = std::max(m_now, due);
    SyncClock();
    if (timerFirst) {
        // As GLib does: the next tick is a period after this one was delivered.
        timer->second.due = m_now + timer->second.period;
        Deliver(Message{WM_TIMER, timer->first, 0});
    } else {
        // Taken out first: the callback may make timeouts of its own.
        std::shared_ptr<std::function<void()>> fire = timeout->fire.lock();
        m_timeouts.erase(timeout);
        if (fire) {
            (*fire)();
        }
    }
    Pump();
    return true;
}

HeadlessHostWindow::Timeout HeadlessHostWindow::RunAfter(int milliseconds,
                                                         std::function<void()> fire) {
    auto handle = std::make_shared<std::function<void()>>(std::move(fire));
    m_timeouts.push_back(PendingTimeout{m_now + std::max(milliseconds, 0), handle});
    return handle;
}

void HeadlessHostWindow::SetClock(std::int64_t seconds) {
    m_clockStartMs = seconds * 1000 - m_now;
    SyncClock();
}

void HeadlessHostWindow::SyncClock() {
    const std::int64_t ms = m_clockStartMs + m_now;
    // Whole seconds, rounded down also before 1970.
    m_clock.Set(ms >= 0 ? ms / 1000 : -((-ms + 999) / 1000));
}

int HeadlessHostWindow::TimerPeriod(UINT id) const {
    auto found = m_timers.find(id);
    return found == m_timers.end() ? 0 : static_cast<int>(found->second.period);
}

void HeadlessHostWindow::Resize(int width, int height, WPARAM kind) {
    if (kind != SIZE_MINIMIZED) {
        m_width = width;
        m_height = height;
    }
    Deliver(Message{WM_SIZE, kind, MakeLParam(width, height)});
    Pump();
}

std::unique_ptr<CMemoryDC> HeadlessHostWindow::Paint() {
    auto dc = std::make_unique<CMemoryDC>(std::max(m_width, 1), std::max(m_height, 1));
    dc->FillSolidRect(CRect{0, 0, m_width, m_height}, RGB(255, 255, 255));
    if (m_proc != nullptr && !m_destroyed) {
        m_proc->OnPaint(*dc);
    }
    return dc;
}

bool HeadlessHostWindow::PaintToPng(const std::string& path) {
    return Paint()->WritePng(path);
}

CommandState HeadlessHostWindow::MenuState(UINT id) const {
    CommandState state;
    if (m_frameProc != nullptr) {
        m_frameProc->UpdateCommand(id, state);
    }
    return state;
}

bool HeadlessHostWindow::ChooseCommand(UINT id) {
    if (!MenuState(id).enabled) {
        return false;
    }
    Deliver(Message{WM_COMMAND, id, 0});
    Pump();
    return true;
}

void HeadlessHostWindow::TrayEvent(UINT mouseMessage) {
    Deliver(Message{WM_TRAY_NOTIFY, 1, static_cast<LPARAM>(mouseMessage)});
    Pump();
}

void HeadlessHostWindow::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!m_destroyed) {
        m_posted.push_back(Message{message, wParam, lParam});
    }
}

bool HeadlessHostWindow::SetTimer(UINT id, UINT elapseMs) {
    if (m_destroyed) {
        return false;
    }
    const UINT period = std::max<UINT>(elapseMs, 1);
    m_timers[id] = Timer{period, m_now + period};
    return true;
}

bool HeadlessHostWindow::KillTimer(UINT id) {
    return m_timers.erase(id) != 0;
}

void HeadlessHostWindow::InvalidateRect(const CRect& rect, bool) {
    m_invalidated.push_back(rect);
    const CRect client = ClientRect();
    const CRect clipped{std::max(rect.left, client.left), std::max(rect.top, client.top),
                        std::min(rect.right, client.right), std::min(rect.bottom, client.bottom)};
    m_updateArea = Union(m_updateArea, clipped);
}

void HeadlessHostWindow::Invalidate(bool) {
    ++m_invalidateAllCount;
    m_invalidated.push_back(CRect{0, 0, m_width, m_height});
    m_updateArea = Union(m_updateArea, ClientRect());
}

void HeadlessHostWindow::UpdateWindow() {
    const CRect client = ClientRect();
    if (m_destroyed || m_proc == nullptr || client.IsEmpty()) {
        return;
    }
    if (m_surface == nullptr || m_surface->Width() != client.Width() ||
        m_surface->Height() != client.Height()) {
        // A new surface has nothing on it yet: all of it is to be painted.
        m_surface = std::make_unique<CMemoryDC>(client.Width(), client.Height());
        m_updateArea = client;
    }
    if (m_updateArea.IsEmpty()) {
        return;
    }
    const CRect area = m_updateArea;
    m_updateArea = CRect{};
    m_surface->IntersectClipRect(area);
    m_surface->FillSolidRect(area, RGB(255, 255, 255));
    m_proc->OnPaint(*m_surface);
    m_surface->ResetClip();
    ++m_updatePaints;
}

CRect HeadlessHostWindow::ClientRect() const {
    if (m_minimized) {
        return CRect{};
    }
    return CRect{0, 0, m_width, m_height};
}

bool HeadlessHostWindow::CreateCaret(int width, int height) {
    m_caret = Caret{};
    m_caret.exists = true;
    m_caret.width = width;
    m_caret.height = height;
    return true;
}

void HeadlessHostWindow::DestroyCaret() {
    m_caret = Caret{};
}

void HeadlessHostWindow::ShowCaret() {
    if (m_caret.exists && m_caret.hideCount > 0) {
        --m_caret.hideCount;
    }
}

void HeadlessHostWindow::HideCaret() {
    if (m_caret.exists) {
        ++m_caret.hideCount;
    }
}

bool HeadlessHostWindow::SetClipboardText(const std::string& text) {
    // The desktop's clipboard holds Unicode: text that does not convert is refused.
    if (!cp932::ToUtf8Strict(text)) {
        return false;
    }
    m_clipboard = LfLineEnds(text);
    m_clipboardSet = true;
    return true;
}

void HeadlessHostWindow::SetForeignClipboardText(const std::string& utf8) {
    // What CP932 cannot hold is left out, as the GTK desktop reads it.
    m_clipboard = cp932::FromUtf8Dropping(utf8);
    m_clipboardSet = true;
}

bool HeadlessHostWindow::GetClipboardText(std::string& text) {
    if (!m_clipboardSet) {
        return false;
    }
    text = m_clipboard;
    return true;
}

IInputContext* HeadlessHostWindow::InputContext() {
    return m_hasInputMethod ? &m_inputContext : nullptr;
}

void HeadlessHostWindow::Beep(int frequency, int milliseconds) {
    m_beeps.push_back(BeepRecord{frequency, milliseconds});
    // The caller is blocked meanwhile: timers fall due but cannot tick.
    m_now += std::max(milliseconds, 0);
    SyncClock();
}

void HeadlessHostWindow::PlayTones(const std::vector<win::Tone>& tones) {
    if (TonesSounding()) {
        return;
    }
    m_tones.clear();
    // Each tone is heard when the clock reaches it; the caller goes on at once.
    int at = 0;
    for (const win::Tone& tone : tones) {
        m_tones.push_back(RunAfter(at, [this, tone] {
            m_beeps.push_back(BeepRecord{tone.frequency, tone.milliseconds});
        }));
        at += std::max(tone.milliseconds, 0) + std::max(tone.pauseMs, 0);
    }
    // The pattern still sounds until its last tone and pause are over.
    m_tonesEnd = m_now + at;
}

bool HeadlessHostWindow::TonesSounding() const {
    return m_now < m_tonesEnd;
}

void HeadlessHostWindow::ShowWindow(int command) {
    const bool show = command != SW_HIDE;
    if (show != m_visible) {
        Deliver(Message{WM_SHOWWINDOW, show ? 1u : 0u, 0});
        m_visible = show;
    }
    switch (command) {
        case SW_SHOWMAXIMIZED:
            if (!IsMaximized()) {
                m_maximized = true;
                m_minimized = false;
                Resize(m_maximizedSize.cx, m_maximizedSize.cy, SIZE_MAXIMIZED);
            }
            break;
        case SW_SHOWMINIMIZED:
            if (!m_minimized) {
                m_minimized = true;
                Resize(0, 0, SIZE_MINIMIZED);
            }
            break;
        case SW_RESTORE:
            // A minimised window comes back as it was before, maximised or not.
            if (m_minimized && m_maximized) {
                m_minimized = false;
                Resize(m_maximizedSize.cx, m_maximizedSize.cy, SIZE_MAXIMIZED);
                break;
            }
            [[fallthrough]];
        case SW_SHOWNORMAL:
            if (m_maximized || m_minimized) {
                m_maximized = false;
                m_minimized = false;
                Resize(m_windowRect.Width(), m_windowRect.Height(), SIZE_RESTORED);
            }
            break;
        default:
            break;
    }
    Pump();
}

void HeadlessHostWindow::MoveWindow(const CRect& rect) {
    m_windowRect = rect;
    m_origin = CPoint{rect.left, rect.top};
    if (!m_maximized && !m_minimized) {
        Resize(rect.Width(), rect.Height(), SIZE_RESTORED);
    }
}

void HeadlessHostWindow::AddTrayIcon(const std::string& tip) {
    m_trayIcon = true;
    m_trayTip = tip;
}

void HeadlessHostWindow::RunMessageLoop() {
    m_quit = false;
    while (!m_quit && !m_destroyed && Pump(1) == 1) {
    }
}

void HeadlessHostWindow::Destroy() {
    if (m_destroyed) {
        return;
    }
    Deliver(Message{WM_DESTROY, 0, 0});
    m_destroyed = true;
    m_timers.clear();
    m_posted.clear();
    m_trayIcon = false;
    m_capture = false;
    m_caret = Caret{};
    m_keysDown.clear();
    m_held = 0;
    m_buttonsDown = 0;
}

}  // namespace tokeiya::headless
