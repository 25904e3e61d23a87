#include "printing/CCRPrinter.hpp"

#include "platform/AppContext.hpp"

namespace tokeiya {

CCRPrinter::CCRPrinter(CPrintDC* printDC)
    : m_printDC(printDC), m_unitMode(CAppContext::Current().printUnitMode) {
    SetHoldRedraw(true);
    CRect printable;
    if (m_printDC != nullptr && m_printDC->GetPrintableRect(printable, 0, 0, 0, 0, true)) {
        SetRect(printable);
    }
}

void CCRPrinter::PrintPage() {
    if (m_printDC != nullptr) {
        Draw(*m_printDC);
    }
}

void CCRPrinter::PrintWholePage() {
    if (m_printDC != nullptr && m_printDC->StartPage()) {
        PrintPage();
        m_printDC->EndPage();
    }
}

int CCRPrinter::ToDevice(int length) const {
    const int dpi = m_printDC != nullptr ? m_printDC->Resolution() : 0;
    switch (m_unitMode) {
        case kTenthsMm:
            return TenthsMmToDevice(length, dpi);
        case kHundredthsInch:
            return HundredthsInchToDevice(length, dpi);
        default:
            return length;
    }
}

void CCRPrinter::SetMargins(int left, int right, int top, int bottom, bool clampToHardware) {
    CRect printable;
    if (m_printDC == nullptr ||
        !m_printDC->GetPrintableRect(printable, ToDevice(left), ToDevice(right), ToDevice(top),
                                     ToDevice(bottom), clampToHardware)) {
        return;
    }
    SetRect(printable);
    SetGridSize(Cols(), Rows());
}

}  // namespace tokeiya
