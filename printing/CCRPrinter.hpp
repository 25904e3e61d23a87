#pragma once

#include "engine/CCRBase.hpp"
#include "printing/CPrintDC.hpp"

namespace tokeiya {

// A cell surface on a sheet of paper: its rectangle is the printable area and each paint
// prints one page, so a printed form is the same grid as a screen, scaled to the paper.
// Writing cells never asks for a repaint.
class CCRPrinter : public CCRBase {
  public:
    static constexpr int kTenthsMm = 2;
    static constexpr int kHundredthsInch = 3;

    // `printDC` (not owned, may be null): with a device the surface covers the printable
    // area without margins, clamped to what the printer can reach.
    explicit CCRPrinter(CPrintDC* printDC);

    // Paints the surface onto the printer's current page; nothing without a device context.
    virtual void PrintPage();
    // The surface on a page of its own: the page started, printed and ended.
    void PrintWholePage();
    // The surface on the printable area inside these margins (in the unit mode), with a
    // fresh grid of the same size: every cell is cleared. Nothing without a device context.
    void SetMargins(int left, int right, int top, int bottom, bool clampToHardware);
    // A length of the unit mode in device units.
    int ToDevice(int length) const;

    int UnitMode() const { return m_unitMode; }
    void SetUnitMode(int mode) { m_unitMode = mode; }
    CPrintDC* PrintDC() const { return m_printDC; }

  private:
    CPrintDC* m_printDC;
    int m_unitMode;
};

}  // namespace tokeiya
