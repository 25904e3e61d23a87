#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/CCDWItemList.hpp"
#include "engine/CCRAttached.hpp"
#include "engine/CCRCell.hpp"
#include "engine/CCRFontSet.hpp"
#include "engine/CDrawRect.hpp"
#include "platform/gdi/CGlyphBatch.hpp"

namespace tokeiya {

// A grid of character cells over a pixel rectangle, in the manner of a text-mode terminal:
// the cells (CP932 characters and colours), the geometry, the fonts, the static drawing
// items and the paint pipeline. It knows nothing of windows or input.
//
// Cell ranges are (col, row, w, h) in cells. Operations on cells refuse a request that
// does not fit the grid (or when there is no grid) by returning 0 / false and changing
// nothing. `redraw` asks for a repaint of what changed; `holdRedraw` turns every such
// request off.
class CCRBase : public CDrawRect {
  public:
    static constexpr char kMaskChar = '*';
    static constexpr double kSingleByteDropFactor = 0.05;
    static constexpr int kMaxDrawFonts = 4;
    static constexpr int kLayerCount = 3;

    CCRBase();
    CCRBase(const CRect& rect, int cols, int rows, int edgeWidth, int padding);
    ~CCRBase() override;

    // Painting.
    void Draw(CDC& dc) override;
    virtual void DrawCellTexts(CDC& dc);
    virtual void DrawCellBackgrounds(CDC& dc);
    virtual void DrawLineItems(CDC& dc);
    virtual void DrawFrame(CDC& dc);
    void DrawAttached(CDC& dc, int layer);

    // Geometry.
    void SetRect(const CRect& rect) override;
    virtual void RecalcMetrics();
    virtual void SetRectAndPadding(const CRect& rect, int padding);
    virtual bool SetFontScale(int index, double scale);
    virtual void FreeCells();
    virtual bool SetGridAndMargins(int cols, int rows, int edgeWidth, int padding);
    // Rebuilds the buffer with fresh cells (all content is lost); false when either size
    // is 0 or negative, or the buffer would be too large: the surface then has no cells.
    virtual bool SetGridSize(int cols, int rows);

    // Border c / r to pixels; cols and rows give the right and bottom border.
    virtual int ColumnToX(int col) const;
    virtual int RowToY(int row) const;
    // Pixel to column (or, with `round`, to the nearest column border), written back into
    // x; true when x lay inside the grid and the result is not negative.
    virtual bool XToColumn(int& x, bool round) const;
    virtual bool YToRow(int& y, bool round) const;
    virtual bool PointToCell(CPoint& point) const;
    CRect CellRectToPixels(const CRect& cellRect) const;

    // Definition files (CCRBaseDefinition.cpp). A load applies a whole definition or, when
    // it fails, leaves the surface exactly as it was. Every number read is held to the
    // bounds of CCRBaseLimits.
    static constexpr std::string_view kTextDefinitionFolder = "tgd/";
    static constexpr std::string_view kDefaultPackage = "default.ggd";
    // Appends one package record; false (nothing written) when the name does not fit.
    virtual bool WriteBinaryDefinition(CByteWriter& out, std::string_view name) const;
    // An empty packagePath means the program-wide package.
    virtual bool LoadFromPackage(std::string_view name, std::string_view packagePath = {});
    virtual bool WriteTextDefinition(std::string_view name) const;
    virtual bool ReadTextDefinition(std::string_view name);
    // False only when the definition asks for a grid too large to build.
    virtual bool ApplyDefinitionLines(std::span<const std::string> lines);
    // The contents of a text definition file (LF or CR LF lines), as ReadTextDefinitionFile
    // applies them.
    bool ApplyTextDefinition(std::string_view text);
    bool ReadTextDefinitionFile(const std::string& path);
    bool WriteTextDefinitionFile(const std::string& path) const;
    std::string TextDefinition() const;
    bool LoadFromPackageData(std::span<const unsigned char> package, std::string_view name);

    // Drawing items, checked against the grid's borders (0..cols, 0..rows).
    virtual bool AddLine(int x1, int y1, int x2, int y2, COLORREF color, int style, int width);
    virtual bool AddHLines(int x1, int x2, int y, COLORREF color, int style, int width, int count,
                           int step);
    virtual bool AddVLines(int y1, int y2, int x, COLORREF color, int style, int width, int count,
                           int step);
    virtual bool AddRect(int x1, int y1, int x2, int y2, COLORREF color, int style, int width);
    // Back colour of the cells col1..col2-1 x row1..row2-1; never asks for a repaint.
    virtual bool FillBackColor(int col1, int row1, int col2, int row2, COLORREF color);

    // Writing text: return the number of cells written (0 when refused). A double-byte
    // character that would straddle the right edge is dropped and ends the writing. The text
    // ends at its first NUL, as a C string would; a byte 1 (the continuation marker) is
    // written as an empty cell. Overwriting either half of a double-byte character blanks
    // the other half, and a repaint request then covers that blanked cell too: no write
    // ever leaves half a character behind.
    virtual int PutText(std::string_view text, int col, int row, bool redraw);
    virtual int PutText(std::string_view text, int col, int row, COLORREF textColor, bool redraw);
    virtual int PutTextAndBack(std::string_view text, int col, int row, COLORREF textColor,
                               bool redraw);
    virtual int PutTextAndBack(std::string_view text, int col, int row, bool redraw);
    virtual int PutTextAndBack(std::string_view text, int col, int row, COLORREF textColor,
                               COLORREF backColor, bool redraw);
    // A colour where the redraw flag belongs would silently become `true`.
    int PutText(std::string_view, int, int, COLORREF) = delete;
    int PutTextAndBack(std::string_view, int, int, COLORREF, COLORREF) = delete;

    // Colours of a cell range.
    virtual bool SetColors(COLORREF textColor, COLORREF backColor, const CRect& cellRect,
                           bool redraw);
    virtual bool SetColors(COLORREF textColor, COLORREF backColor, int col, int row, int w, int h,
                           bool redraw);
    virtual bool SetBackColor(COLORREF color, const CRect& cellRect, bool redraw);
    virtual bool SetBackColor(COLORREF color, int col, int row, int w, int h, bool redraw);
    virtual bool SetTextColor(COLORREF color, const CRect& cellRect, bool redraw);
    virtual bool SetTextColor(COLORREF color, int col, int row, int w, int h, bool redraw);
    virtual bool SetMarkColor(COLORREF color, const CRect& cellRect, bool redraw);
    virtual bool SetMarkColor(COLORREF color, int col, int row, int w, int h, bool redraw);
    virtual bool SetTextAndMarkColor(COLORREF textColor, COLORREF markColor, int col, int row,
                                     int w, int h, bool redraw);
    virtual bool ClearMark(int col, int row, int w, int h);
    virtual bool ResetAllColors();
    virtual bool ResetColors(int col, int row, int w, int h);
    // The cells of part of a row exactly as they are, colours and markers included; empty
    // when the range leaves the grid. RestoreCells writes such a copy back where it came
    // from, so that whatever was drawn over the cells in between is undone.
    std::vector<CCRCell> CopyCells(int col, int row, int count) const;
    bool RestoreCells(std::span<const CCRCell> cells, int col, int row, bool redraw);

    // Repaint requests; a surface has nowhere to send them, a window does.
    virtual bool InvalidateCells(const CRect& cellRect, bool erase);
    virtual bool InvalidateAll(bool erase);

    // Text of the cells, continuation and empty cells contributing nothing. toCol -1 (or
    // past the grid) means the last column. With `wholeCharsOnly`, a double-byte character
    // whose lead is in the last column asked for is left out. `out` is replaced.
    virtual bool GetText(std::string& out, int col1, int row1, int col2, int row2,
                         bool wholeCharsOnly);
    virtual bool GetRowText(std::string& out, int row, int fromCol, int toCol, bool wholeCharsOnly);

    // The first column of a row of cells that breaks a double-byte character, or -1 when
    // every character is whole: a cell with a trail byte must be followed by a continuation
    // cell (so it cannot be the last one), and every continuation cell must follow such a
    // cell.
    static int BrokenCharacterColumn(std::span<const CCRCell> row);
    // Whether every row of the grid keeps its double-byte characters whole.
    bool CharactersWhole() const;

    // Whether an input method composition is under way; text entry windows know.
    virtual bool IsComposing() const { return false; }

    // Pixel point to the caret position it selects (column 0..cols), then moved over empty
    // cells in `direction` (+1 right, -1 left). True when the point lay inside the grid.
    bool CellHitForCaret(CPoint& point, int direction) const;
    // The pixel rectangle of a child placed on cells (scale 0, one pixel off top and
    // bottom) or in units of 1/scale of the surface (scale below 100 counts as 100).
    bool ChildRect(CRect& out, int col, int row, int w, int h, int scale) const;
    // Bit 1: every cell becomes a fresh cell; bit 2: all drawing items are deleted.
    bool ClearCells(int what, bool redraw);

    // Attached drawables are painted at their layer (0 before the cell backgrounds, 1
    // before the line items, 2 after the characters) and relaid out after SetRect. Not
    // owned: whoever attaches detaches before it goes.
    bool Attach(CCRAttached& drawable, int layer);
    bool Detach(CCRAttached& drawable);

    // State.
    int Rows() const { return m_rows; }
    int Cols() const { return m_cols; }
    bool HasCells() const { return m_cells != nullptr; }
    // Null outside the grid.
    const CCRCell* CellAt(int col, int row) const;
    double CellWidth() const { return m_cellWidth; }
    double CellHeight() const { return m_cellHeight; }
    int SingleByteDrop() const { return m_singleByteDrop; }
    std::vector<CCRFontSet>& Fonts() { return m_fonts; }
    const std::vector<CCRFontSet>& Fonts() const { return m_fonts; }
    CCDWItemList& Items() { return m_items; }
    const CCDWItemList& Items() const { return m_items; }

    int EdgeWidth() const { return m_edgeWidth; }
    void SetEdgeWidth(int width) { m_edgeWidth = width; }
    COLORREF EdgeColor() const { return m_edgeColor; }
    void SetEdgeColor(COLORREF color) { m_edgeColor = color; }
    int Padding() const { return m_padding; }
    void SetPadding(int padding) { m_padding = padding; }
    COLORREF DefaultTextColor() const { return m_defaultTextColor; }
    COLORREF DefaultBackColor() const { return m_defaultBackColor; }
    // Fresh cells and the Put/Reset operations use these; existing cells keep their colours.
    void SetDefaultColors(COLORREF text, COLORREF back) {
        m_defaultTextColor = text;
        m_defaultBackColor = back;
    }
    bool HoldRedraw() const { return m_holdRedraw; }
    void SetHoldRedraw(bool hold) { m_holdRedraw = hold; }
    bool UseDeviceFont() const { return m_useDeviceFont; }
    void SetUseDeviceFont(bool use) { m_useDeviceFont = use; }
    bool MaskText() const { return m_maskText; }
    void SetMaskText(bool mask) { m_maskText = mask; }

  protected:
    // Read-only: cells change only through the writers here, which keep characters whole.
    const CCRCell& Cell(int col, int row) const { return m_cells[col + row * m_cols]; }
    // Whether (col, row, w, h) lies inside the grid; false when there is no grid.
    bool FitsGrid(int col, int row, int w, int h) const;
    // Whether the border point (x, y) lies on the grid (0..cols, 0..rows); false when there
    // is no grid.
    bool OnBorders(std::int64_t x, std::int64_t y) const;
    CCRCell FreshCell() const { return CCRCell::Fresh(m_defaultTextColor, m_defaultBackColor); }
    void RequestRepaint(int col, int row, int w, int h);

    int m_rows = 0;
    int m_cols = 0;
    std::vector<CCRFontSet> m_fonts;
    int m_singleByteDrop = 0;
    bool m_useDeviceFont = false;
    bool m_maskText = false;
    COLORREF m_edgeColor = RGB(0, 0, 0);
    int m_edgeWidth = 0;
    bool m_holdRedraw = false;
    int m_padding = 0;
    double m_cellWidth = 0;
    double m_cellHeight = 0;
    CCDWItemList m_items;
    COLORREF m_defaultTextColor = RGB(0, 0, 0);
    COLORREF m_defaultBackColor = RGB(255, 255, 255);

  private:
    struct AttachedEntry {
        CCRAttached* drawable;
        int layer;
    };
    // What one text write changed in its row: the cells written from its column, and the
    // columns first..end-1 touched, blanked halves of overwritten characters included.
    struct WrittenCells {
        int written = 0;
        int first = 0;
        int end = 0;
    };

    CCRCell& Cell(int col, int row) { return m_cells[col + row * m_cols]; }
    // The PutText core; refused (nothing written) when row or col lie off the grid.
    WrittenCells WriteCells(std::string_view text, int col, int row, COLORREF textColor);
    // Blanks the cell's character bytes; its colours stay.
    void BlankCharacter(int col, int row);
    // Debug builds stop at once when a write left rows firstRow..endRow-1 with half a
    // character; release builds check nothing here.
    void VerifyCharacters(int firstRow, int endRow) const;
    template <typename Apply>
    bool ForRange(int col, int row, int w, int h, bool redraw, Apply apply);
    bool AppendRowText(std::string& out, int row, int fromCol, int toCol,
                       bool wholeCharsOnly) const;
    // Column or row of a pixel along one axis; see XToColumn.
    static bool PixelToIndex(int& pixel, bool round, std::int64_t origin, std::int64_t end,
                             double cellSize, int count);
    // Frame band and padding together: the distance from the rectangle to the grid. Wide
    // enough that margins set by code can never overflow it.
    std::int64_t Inset() const { return std::int64_t{m_edgeWidth} + m_padding; }

    std::unique_ptr<CCRCell[]> m_cells;
    std::vector<AttachedEntry> m_attached;
    CGlyphBatch m_glyphs;  // kept between paints for its memory
};

}  // namespace tokeiya
