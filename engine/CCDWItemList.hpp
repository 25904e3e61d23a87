#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/CByteReader.hpp"
#include "engine/CByteWriter.hpp"
#include "engine/CCDWItem.hpp"
#include "platform/gdi/CDC.hpp"
#include "platform/gdi/ColorRef.hpp"

namespace tokeiya {

class CCRBase;

// The drawing items of one surface, owned, in the order they were added or read: that is
// the order they are drawn, written and stored in. The Add operations do not check
// ranges; the surface's own Add operations do before calling them.
class CCDWItemList {
  public:
    void AddLineItem(int x1, int y1, int x2, int y2, COLORREF color, int style, int width);
    void AddHLinesItem(int x1, int x2, int y, COLORREF color, int style, int width, int count,
                       int step);
    void AddVLinesItem(int y1, int y2, int x, COLORREF color, int style, int width, int count,
                       int step);
    void AddRectItem(int x1, int y1, int x2, int y2, COLORREF color, int style, int width);
    void AddBackFillItem(int x1, int y1, int x2, int y2, COLORREF color);
    void AddTextItem(std::string text, int x, int y);
    void AddColoredTextItem(std::string text, int x, int y, COLORREF color);

    // Draws, in order, the items of one layer; returns how many there were.
    int DrawLayer(CDC& dc, CCRBase& surface, int layer) const;

    std::int64_t StoredSize() const;
    void WriteAllBinary(CByteWriter& out) const;
    void WriteAllText(std::string& out) const;
    // Replaces the items by `count` items read from `in`. All or nothing: truncated data,
    // an unknown kind or a negative count return false and leave the list as it was
    // (the reader is then somewhere inside the damaged data).
    bool ReadAllBinary(CByteReader& in, std::int64_t count);
    void RemoveAll() { m_items.clear(); }

    // One item of any kind: null when the kind is unknown or the data does not hold it.
    static std::unique_ptr<CCDWItem> ReadItem(CByteReader& in);

    size_t Size() const { return m_items.size(); }
    bool IsEmpty() const { return m_items.empty(); }
    const CCDWItem& At(size_t index) const { return *m_items.at(index); }

  private:
    std::vector<std::unique_ptr<CCDWItem>> m_items;
};

}  // namespace tokeiya
