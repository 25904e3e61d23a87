#include <string>

#include "platform/Cp932.hpp"
#include "widgets/CCRWTBase.hpp"

// The editor's mouse, clipboard, caret and input method.
namespace tokeiya {

using namespace win;

namespace {

// Clipboard text as the editor takes it: tabs, carriage returns and the other control
// characters (DEL too) removed, form feeds turned into line breaks, and only whole CP932
// characters (a lead byte without its trail byte is dropped). An ASCII-only editor keeps
// only printable ASCII other than space, as it does when typed.
std::string CleanPastedText(std::string_view text, bool asciiOnly) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (asciiOnly) {
            if (c > 0x20 && c < 0x7F) {
                out += static_cast<char>(c);
            }
        } else if (cp932::IsLeadByte(c)) {
            if (i + 1 < text.size() &&
                cp932::IsTrailByte(static_cast<unsigned char>(text[i + 1]))) {
                out.append(text.substr(i, 2));
            }
            ++i;
        } else if (c == 0x7F || (c < 0x20 && c != '\n' && c != '\f')) {
            continue;
        } else {
            out += c == '\f' ? '\n' : static_cast<char>(c);
        }
    }
    return out;
}

}  // namespace

// --- Mouse ---

bool CCRWTBase::HitOffset(int x, int y, int& offset) const {
    CPoint point{x, y};
    if (!CellHitForCaret(point, -1)) {
        return false;
    }
    offset = OffsetAt(point.x, point.y);
    return true;
}

bool CCRWTBase::OnLButtonDown(int, int x, int y) {
    int offset = 0;
    if (!m_shown || !HitOffset(x, y, offset)) {
        return false;
    }
    ClearSelection();
    SetCaretOffset(offset);
    m_anchor = m_caret;
    m_selectionEnd = m_caret;
    m_dragging = true;
    if (GetHost() != nullptr) {
        GetHost()->SetCapture();
    }
    return true;
}

bool CCRWTBase::OnMouseMove(int, int x, int y) {
    if (!m_dragging) {
        return false;
    }
    CPoint point{x, y};
    CellHitForCaret(point, -1);
    Select(m_anchor, OffsetAt(point.x, point.y));
    return true;
}

bool CCRWTBase::OnLButtonUp(int keys, int x, int y) {
    if (!m_dragging) {
        return false;
    }
    OnMouseMove(keys, x, y);
    m_dragging = false;
    if (GetHost() != nullptr) {
        GetHost()->ReleaseCapture();
    }
    return true;
}

bool CCRWTBase::OnLButtonDblClk(int, int x, int y) {
    CPoint point{x, y};
    if (!m_shown || !CellHitForCaret(point, -1)) {
        return false;
    }
    const int row = point.y;
    Select(OffsetAt(RowFirstCol(row), row), OffsetAt(RowEndCol(row), row));
    return true;
}

// --- Clipboard ---

bool CCRWTBase::CanPaste() {
    std::string text;
    return GetHost() != nullptr && GetHost()->GetClipboardText(text) && !text.empty();
}

void CCRWTBase::EditCopy() {
    if (GetHost() != nullptr && HasSelection() && !MaskText()) {
        GetHost()->SetClipboardText(SelectedText());
    }
}

void CCRWTBase::EditCut() {
    if (HasSelection() && !MaskText()) {
        EditCopy();
        DeleteSelection();
    }
}

void CCRWTBase::EditPaste() {
    std::string text;
    if (GetHost() == nullptr || !GetHost()->GetClipboardText(text)) {
        return;
    }
    text = CleanPastedText(text, m_asciiOnly);
    if (HasSelection()) {
        DeleteSelection();
    }
    if (!InsertText(text)) {
        TellCut();
    }
}

// --- Showing, caret and input method ---

bool CCRWTBase::Show(bool shown, bool redraw) {
    const bool result = CCRWin::Show(shown, redraw);
    if (shown) {
        ShowCaretNow();
        ApplyImeMode();
    } else {
        HideCaretNow();
        m_ime.SetOpen(false);
    }
    return result;
}

void CCRWTBase::Activate() {
    CCRWin::Activate();
    m_active = true;
    ShowCaretNow();
}

void CCRWTBase::Deactivate() {
    HideCaretNow();
    if (m_active && GetHost() != nullptr) {
        GetHost()->DestroyCaret();
    }
    m_active = false;
    CCRWin::Deactivate();
}

void CCRWTBase::Close() {
    Deactivate();
    m_ime.SetOpen(false);
    CCRWin::Close();
}

void CCRWTBase::ShowCaretNow() {
    IHostWindow* host = GetHost();
    if (host == nullptr || !m_shown || !m_active || m_caretShown || !HasCells()) {
        return;
    }
    host->CreateCaret(1, static_cast<int>(CellHeight()));
    m_caretShown = true;
    PlaceCaret();
    host->ShowCaret();
}

void CCRWTBase::HideCaretNow() {
    if (m_caretShown && GetHost() != nullptr) {
        GetHost()->HideCaret();
    }
    m_caretShown = false;
}

bool CCRWTBase::IsComposing() const {
    return const_cast<CIME&>(m_ime).HasComposition(GCS_COMPSTR);
}

void CCRWTBase::SetImeMode(int mode) {
    m_imeMode = mode;
    if (m_shown) {
        ApplyImeMode();
    }
}

void CCRWTBase::ApplyImeMode() {
    m_ime.PlaceCompositionAtCaret();
    const CCRFontSet* font = nullptr;
    for (const CCRFontSet& candidate : m_fonts) {
        if (candidate.logFont.charset == Charset::ShiftJis ||
            candidate.logFont.charset == Charset::Default) {
            font = &candidate;
            break;
        }
    }
    if (font == nullptr || !m_ime.SetCompositionFont(font->logFont)) {
        // Without an input context, or a font it can take, the mode stays as it is; mode 0
        // still keeps the input method out of this editor.
        if (m_imeMode == 0) {
            m_ime.SetOpen(false);
        }
        return;
    }
    if (m_imeMode == 0) {
        m_ime.SetOpen(false);
        return;
    }
    int conversion = 0;
    int sentence = 0;
    m_ime.GetConversionStatus(conversion, sentence);
    const int roman = conversion & IME_CMODE_ROMAN;
    m_ime.SetOpen(true);
    switch (m_imeMode) {
        case 1:
            m_ime.SetConversionStatus(IME_CMODE_NATIVE | IME_CMODE_FULLSHAPE | roman,
                                      kSentencePhrasePredict);
            break;
        case 2:
            m_ime.SetConversionStatus(IME_CMODE_NATIVE | IME_CMODE_KATAKANA | roman, 0);
            break;
        case 3:
            m_ime.SetConversionStatus(
                IME_CMODE_NATIVE | IME_CMODE_KATAKANA | IME_CMODE_FULLSHAPE | roman, 0);
            break;
        case 4:
            m_ime.SetConversionStatus(IME_CMODE_NATIVE | IME_CMODE_FULLSHAPE | roman, 0);
            break;
        default:
            break;  // opened with the status it has
    }
}

}  // namespace tokeiya
