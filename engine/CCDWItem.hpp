#pragma once

#include <cstdint>
#include <string>

#include "engine/CByteReader.hpp"
#include "engine/CByteWriter.hpp"
#include "platform/gdi/CDC.hpp"

namespace tokeiya {

class CCRBase;

// A static graphic of a surface (ruled line, line family, box, fill, caption) in cell
// coordinates, so it follows the surface when resized or printed. Items never change
// after creation.
class CCDWItem {
  public:
    enum Kind : std::int32_t {
        kLine = 0,
        kHLines = 1,
        kVLines = 2,
        kRect = 3,
        kText = 4,
        kTextAndColor = 5,
        kBackColor = 6,
    };
    // Layers: fills are applied to the cells, lines are drawn over the cell backgrounds,
    // captions are written into the cells.
    enum Layer : std::int32_t { kFillLayer = 0, kLineLayer = 1, kTextLayer = 2 };

    static constexpr std::int32_t kBaseSize = 24;

    virtual ~CCDWItem() = default;
    CCDWItem(const CCDWItem&) = delete;
    CCDWItem& operator=(const CCDWItem&) = delete;

    virtual void Draw(CDC& dc, CCRBase& surface) const;
    virtual std::int32_t GetStoredSize() const { return kBaseSize; }
    virtual void WriteBinary(CByteWriter& out) const;
    // The part after kind, layer and rectangle; false when the data is short or invalid.
    virtual bool ReadBinaryBody(CByteReader& in);
    // One line of the text definition, newline included.
    virtual void WriteText(std::string& out) const;

    std::int32_t Kind() const { return m_kind; }
    std::int32_t Layer() const { return m_layer; }
    std::int32_t X1() const { return m_x1; }
    std::int32_t Y1() const { return m_y1; }
    std::int32_t X2() const { return m_x2; }
    std::int32_t Y2() const { return m_y2; }

    // Layer and rectangle as stored after the kind; positions are held to the bounds of
    // CCRBaseLimits, and a layer that is none of the three keeps the kind's own.
    bool ReadBinaryBase(CByteReader& in);

  protected:
    CCDWItem(std::int32_t kind, std::int32_t layer, int x1, int y1, int x2, int y2)
        : m_kind(kind), m_layer(layer), m_x1(x1), m_y1(y1), m_x2(x2), m_y2(y2) {}

    void WriteBinaryBase(CByteWriter& out) const;

    std::int32_t m_kind;
    std::int32_t m_layer;
    std::int32_t m_x1;
    std::int32_t m_y1;
    std::int32_t m_x2;
    std::int32_t m_y2;
};

}  // namespace tokeiya
