#include <algorithm>
#include <climits>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>

#include "GtkTestSupport.hpp"
#include "engine/CDosWinView.hpp"
#include "platform/gdi/CMemoryDC.hpp"
#include "platform/gtk/GtkText.hpp"
#include "widgets/CCRWTString.hpp"

// After the test headers: Xlib defines macros (None, Bool) that GoogleTest uses as names.
#include <X11/keysym.h>

namespace tokeiya::gtk::test {
namespace {

using namespace win;

// Ten columns of 16 x 24 pixels, away from the client area's origin.
constexpr CRect kEditorRect{40, 60, 200, 84};
constexpr int kCellWidth = 16;

// A view whose one screen is a string editor at a fixed place, as a form opens it over an
// item: the window's size does not stretch it over the client area.
class EditorView : public CDosWinView {
  public:
    using CDosWinView::CDosWinView;

    CCRWTString& Open(int imeMode) {
        auto editor = std::make_unique<CCRWTString>(&Window(), kEditorRect, 10, 0);
        CCRWTString& opened = *editor;
        ReplaceScreen(std::move(editor));
        opened.SetHost(&Window());
        opened.Start("", 0, false, imeMode);
        opened.Activate();
        Window().Invalidate(true);
        return opened;
    }

  protected:
    void OnSize(WPARAM, int, int) override {}
};

// Plays an input method with a preedit, as ibus or fcitx have one: the test emits the
// context's signals and the multicontext reports this preedit while the object lives. GTK's
// simple context, which the tests run on, composes nothing of its own without dead keys.
class FakePreedit {
  public:
    explicit FakePreedit(GtkIMContext* context)
        : m_class(GTK_IM_CONTEXT_GET_CLASS(context)), m_saved(m_class->get_preedit_string) {
        s_current = this;
        m_class->get_preedit_string = &Report;
    }
    ~FakePreedit() {
        m_class->get_preedit_string = m_saved;
        s_current = nullptr;
    }
    FakePreedit(const FakePreedit&) = delete;
    FakePreedit& operator=(const FakePreedit&) = delete;

    // The preedit (UTF-8) and its cursor, in characters.
    void Set(const char* utf8, int cursor) {
        m_text = utf8;
        m_cursor = cursor;
    }

  private:
    static void Report(GtkIMContext*, gchar** text, PangoAttrList** attributes, gint* cursor) {
        if (text != nullptr) {
            *text = g_strdup(s_current->m_text.c_str());
        }
        if (attributes != nullptr) {
            *attributes = pango_attr_list_new();
        }
        if (cursor != nullptr) {
            *cursor = s_current->m_cursor;
        }
    }

    static inline FakePreedit* s_current = nullptr;
    GtkIMContextClass* m_class;
    void (*m_saved)(GtkIMContext*, gchar**, PangoAttrList**, gint*);
    std::string m_text;
    int m_cursor = 0;
};

// The bounding box of the pixels in an area that a test looks for.
struct Box {
    int left = INT_MAX;
    int top = INT_MAX;
    int right = INT_MIN;  // exclusive
    int bottom = INT_MIN;
    bool Empty() const { return right == INT_MIN; }
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};

// Text: no channel reaches 96 (the composition's grey frame has 102).
bool IsInk(int rgb) {
    return (rgb >> 16 & 0xFF) < 96 && (rgb >> 8 & 0xFF) < 96 && (rgb & 0xFF) < 96;
}

bool IsMark(int rgb) {
    return rgb != 0xFFFFFF;
}

// `pixel` gives 0xRRGGBB.
Box Find(const CRect& area, const std::function<int(int, int)>& pixel, bool (*wanted)(int),
         int skipColumn = -1) {
    Box box;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            if (x == skipColumn || !wanted(pixel(x, y))) {
                continue;
            }
            box.left = std::min(box.left, x);
            box.top = std::min(box.top, y);
            box.right = std::max(box.right, x + 1);
            box.bottom = std::max(box.bottom, y + 1);
        }
    }
    return box;
}

int Rgb(COLORREF c) {
    return static_cast<int>(GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c));
}

class EditorCompositionTest : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        m_view = std::make_unique<EditorView>(*m_window);
        m_proc.onMessage = [this](const Message& m) { return m_view->WindowProc(m); };
        m_proc.onPaint = [this](CDC& dc) { m_view->OnPaint(dc); };
    }
    void TearDown() override {
        // The editor goes first: it hides its caret in the window on its way out.
        m_proc.onMessage = nullptr;
        m_proc.onPaint = nullptr;
        m_view.reset();
        MainWindowTest::TearDown();
    }

    GtkIMContext* Im() { return m_gtk->GtkInputMethod().Context(); }

    // What the window shows in the editor's row and a little left of it, the caret's column
    // left out: it blinks.
    Box Shown(bool (*wanted)(int)) {
        GdkWindow* window = gtk_widget_get_window(m_gtk->ClientArea());
        const CRect area{kEditorRect.left - 4, kEditorRect.top - 2, kEditorRect.right,
                         kEditorRect.bottom};
        GObjectPtr<GdkPixbuf> shot(
            gdk_pixbuf_get_from_window(window, 0, 0, area.right, area.bottom));
        if (shot == nullptr) {
            return {};
        }
        const guchar* pixels = gdk_pixbuf_get_pixels(shot.get());
        const int stride = gdk_pixbuf_get_rowstride(shot.get());
        const int channels = gdk_pixbuf_get_n_channels(shot.get());
        return Find(
            area,
            [&](int x, int y) {
                const guchar* p = pixels + y * stride + x * channels;
                return p[0] << 16 | p[1] << 8 | p[2];
            },
            wanted, m_window->GetCaretPos().x);
    }

    std::unique_ptr<EditorView> m_view;
};

TEST_F(EditorCompositionTest, ACompositionShowsAtTheCaretAndItsResultIsTheEditorsText) {
    ShowAndFocus();
    CCRWTString& editor = m_view->Open(1);
    IInputContext* context = m_window->InputContext();
    ASSERT_NE(context, nullptr);
    EXPECT_TRUE(context->IsOpen()) << "mode 1 opens the input method";
    const CPoint caret = m_window->GetCaretPos();
    EXPECT_EQ(caret, (CPoint{kEditorRect.left, kEditorRect.top}));
    PumpFor(50);
    EXPECT_TRUE(Shown(IsMark).Empty()) << "an empty editor";

    FakePreedit preedit(Im());
    preedit.Set(U8(u8"しゅっきん"), 5);
    g_signal_emit_by_name(Im(), "preedit-start");
    g_signal_emit_by_name(Im(), "preedit-changed");
    EXPECT_TRUE(editor.IsComposing());
    EXPECT_EQ(context->CompositionString(GCS_COMPSTR), "しゅっきん");
    EXPECT_EQ(editor.Text(), "") << "the text under conversion is not the editor's yet";
    // The window draws it in a frame over the editor, starting at the caret.
    Box frame;
    ASSERT_TRUE(PumpUntil([&] {
        frame = Shown(IsMark);
        return !frame.Empty();
    }));
    EXPECT_LE(std::abs(frame.left - (caret.x - 2)), 1) << frame.left;
    EXPECT_LE(std::abs(frame.top - caret.y), 1) << frame.top;
    const Box text = Shown(IsInk);
    EXPECT_GE(text.Width(), 4 * kCellWidth) << "five kana";
    EXPECT_GE(text.left, frame.left);
    EXPECT_LE(text.right, frame.right);

    // The input method converts and commits, then ends its preedit.
    preedit.Set(U8(u8"出勤"), 2);
    g_signal_emit_by_name(Im(), "preedit-changed");
    EXPECT_EQ(context->CompositionString(GCS_COMPSTR), "出勤");
    g_signal_emit_by_name(Im(), "commit", U8(u8"出勤"));
    preedit.Set("", 0);
    g_signal_emit_by_name(Im(), "preedit-changed");
    g_signal_emit_by_name(Im(), "preedit-end");
    ASSERT_TRUE(PumpUntil([&] { return editor.Text() == "出勤"; })) << editor.Text();
    EXPECT_FALSE(editor.IsComposing());
    EXPECT_EQ(editor.CaretOffset(), 4);
    EXPECT_EQ(editor.CaretCol(), 4);
    EXPECT_EQ(m_window->GetCaretPos(),
              (CPoint{kEditorRect.left + 4 * kCellWidth, kEditorRect.top}));
    // The frame is gone; the editor's own cells show the text.
    EXPECT_TRUE(PumpUntil([&] {
        frame = Shown(IsMark);
        return !frame.Empty() && frame.left >= kEditorRect.left &&
               frame.right <= kEditorRect.left + 4 * kCellWidth;
    })) << frame.left
        << ".." << frame.right;
}

TEST_F(EditorCompositionTest, TheCompositionIsDrawnInTheEditorsFont) {
    ShowAndFocus();
    CCRWTString& editor = m_view->Open(1);
    const CRect client = m_window->ClientRect();
    ASSERT_FALSE(client.IsEmpty());

    // The editor's own W in its second cell.
    editor.SetText(" W");
    CMemoryDC own(client.Width(), client.Height());
    own.FillSolidRect(client, RGB(255, 255, 255));
    editor.Draw(own);
    const Box ownW = Find(
        CRect{kEditorRect.left + kCellWidth, kEditorRect.top, kEditorRect.left + 2 * kCellWidth,
              kEditorRect.bottom},
        [&](int x, int y) { return Rgb(own.GetPixel(x, y)); }, IsInk);
    ASSERT_FALSE(ownW.Empty());
    editor.SetText("");
    editor.SetCaretOffset(0);

    // The same text under conversion, drawn by the input context alone at the caret; its
    // cursor at the start, left of the W.
    FakePreedit preedit(Im());
    preedit.Set(" W", 0);
    g_signal_emit_by_name(Im(), "preedit-start");
    g_signal_emit_by_name(Im(), "preedit-changed");
    CMemoryDC composed(client.Width(), client.Height());
    composed.FillSolidRect(client, RGB(255, 255, 255));
    m_gtk->GtkInputMethod().Paint(composed.Cairo());

    const Box composedW = Find(
        CRect{kEditorRect.left + 2, kEditorRect.top + 1, kEditorRect.right, kEditorRect.bottom},
        [&](int x, int y) { return Rgb(composed.GetPixel(x, y)); }, IsInk);
    ASSERT_FALSE(composedW.Empty());
    EXPECT_LE(std::abs(composedW.Width() - ownW.Width()), 1)
        << composedW.Width() << " wide, the editor's " << ownW.Width();
    EXPECT_LE(std::abs(composedW.Height() - ownW.Height()), 1)
        << composedW.Height() << " high, the editor's " << ownW.Height();
    g_signal_emit_by_name(Im(), "preedit-end");
}

TEST_F(EditorCompositionTest, ModeZeroClosesTheInputMethodAndKeysGoStraightToTheEditor) {
    ShowAndFocus();
    CCRWTString& editor = m_view->Open(1);
    IInputContext* context = m_window->InputContext();
    ASSERT_TRUE(context->IsOpen());
    FakePreedit preedit(Im());
    preedit.Set(U8(u8"か"), 1);
    g_signal_emit_by_name(Im(), "preedit-start");
    g_signal_emit_by_name(Im(), "preedit-changed");
    ASSERT_TRUE(editor.IsComposing());

    editor.SetImeMode(0);
    EXPECT_FALSE(context->IsOpen());
    EXPECT_FALSE(editor.IsComposing()) << "the composition under way is dropped";
    PumpFor(20);
    m_proc.messages.clear();
    Tap(XK_a);
    EXPECT_EQ(m_proc.KeyTrace(), "down 65, char 97, up 65") << "the key itself reaches the view";
    EXPECT_EQ(editor.Text(), "a");

    // Mode 1 opens it again: GTK's simple input method takes the key and commits it.
    editor.SetImeMode(1);
    EXPECT_TRUE(context->IsOpen());
    m_proc.messages.clear();
    Tap(XK_b);
    EXPECT_EQ(m_proc.KeyTrace(), "char 98, up 66");
    EXPECT_EQ(editor.Text(), "ab");
}

}  // namespace
}  // namespace tokeiya::gtk::test
