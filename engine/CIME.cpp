#include "engine/CIME.hpp"

namespace tokeiya {

win::IInputContext* CIME::Context() {
    if (m_context == nullptr && m_window != nullptr) {
        m_context = m_window->InputContext();
    }
    return m_context;
}

bool CIME::Attach(win::IHostWindow* window) {
    Release();
    m_window = window;
    return Context() != nullptr;
}

bool CIME::SetOpen(bool open) {
    win::IInputContext* context = Context();
    return context != nullptr && context->SetOpen(open);
}

bool CIME::GetConversionStatus(int& conversion, int& sentence) {
    win::IInputContext* context = Context();
    return context != nullptr && context->GetConversionStatus(conversion, sentence);
}

bool CIME::SetConversionStatus(int conversion, int sentence) {
    win::IInputContext* context = Context();
    return context != nullptr && context->SetConversionStatus(conversion, sentence);
}

bool CIME::SetCompositionFont(const LogFont& font) {
    win::IInputContext* context = Context();
    return context != nullptr && context->SetCompositionFont(font);
}

bool CIME::PlaceCompositionAtCaret() {
    win::IInputContext* context = Context();
    return context != nullptr && context->SetCompositionPoint(m_window->GetCaretPos());
}

bool CIME::HasComposition(int kind) {
    win::IInputContext* context = Context();
    if (context == nullptr || kind == win::GCS_CURSORPOS || kind == win::GCS_DELTASTART) {
        return false;
    }
    return !context->CompositionString(kind).empty();
}

void CIME::Release() {
    m_context = nullptr;
}

}  // namespace tokeiya
