#pragma once

#include <string>
#include <string_view>

#include "engine/CCDWItem.hpp"

namespace tokeiya {

// A caption written into the cells from (x1, y1) in the surface's default text colour.
class CCDWText : public CCDWItem {
  public:
    CCDWText(std::string text, int x, int y) : CCDWText(kText, std::move(text), x, y) {}

    void Draw(CDC& dc, CCRBase& surface) const override;
    std::int32_t GetStoredSize() const override;
    void WriteBinary(CByteWriter& out) const override;
    bool ReadBinaryBody(CByteReader& in) override;
    void WriteText(std::string& out) const override;

    const std::string& Text() const { return m_text; }

    // A comma separates the fields of a definition line, so inside a caption it is
    // written as "[CMM]". Both walk CP932 characters: a trail byte never starts a match.
    static std::string EncodeCommas(std::string_view text);
    static std::string DecodeCommas(std::string_view text);

  protected:
    CCDWText(std::int32_t kind, std::string text, int x, int y)
        : CCDWItem(kind, kTextLayer, x, y, 0, 0), m_text(std::move(text)) {}

    // n (text length + 1), then the text and its NUL.
    void WriteBinaryText(CByteWriter& out) const;
    // The text ends at the first NUL of the n bytes and is held to the caption bound of
    // CCRBaseLimits. n of 0, negative or beyond the remaining data fails the read: n counts
    // the NUL, so 0 is never written.
    bool ReadBinaryText(CByteReader& in);

    std::string m_text;
};

}  // namespace tokeiya
