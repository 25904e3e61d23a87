#pragma once

#include <string>

#include "widgets/CCRWMenuBase.hpp"

namespace tokeiya {

// A pop-up list of numbered entries, one line each: a blank, the code zero-padded to its
// digits, a blank, the name padded to its width, a blank. Entries are selected by code, and
// typing the code's digits jumps to it.
class CCRWMNumber : public CCRWMenuBase {
  public:
    // `rect` holds codeDigits + nameWidth + 3 columns (two more with the scroll bar) by
    // visibleRows rows, in a frame `edgeWidth` pixels wide.
    CCRWMNumber(win::IHostWindow* host, const CRect& rect, int edgeWidth, int count,
                int visibleRows, int codeDigits, int nameWidth, bool scrollBar);

    // The columns of a list of that shape.
    static int ColumnsFor(int codeDigits, int nameWidth, bool scrollBar);

    // The first entry whose code is `code`, or -1.
    virtual int FindCode(int code) const;
    // The entry of `code` becomes current; the first entry when no entry has that code.
    void SelectEntry(int code, bool redraw) override;
    int GetEntryCode(int index) const override;
    bool GetRowRect(int row, CRect& rect) const override;
    void DrawRow(int row) override;
    void DrawEmptyRow(int row) override;
    void DrawEmptyList() override;
    int FilterTypeahead(int ch) const override;
    int TypeaheadDone() override;

    // The line of one entry as DrawRow writes it.
    std::string RowLine(int index) const;
    int CodeDigits() const { return m_codeDigits; }
    int NameWidth() const { return m_nameWidth; }
    void SetCodeOffset(int offset) { m_codeOffset = offset; }

  private:
    // The columns of the entries, without the scroll bar.
    int RowWidth() const { return m_codeDigits + m_nameWidth + 3; }

    int m_codeDigits;
    int m_nameWidth;
    int m_codeOffset = 0;
};

}  // namespace tokeiya
