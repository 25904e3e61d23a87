#pragma once

#include <bit>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "engine/CByteWriter.hpp"
#include "engine/CCDWBackColor.hpp"
#include "engine/CCDWLineBase.hpp"
#include "engine/CCDWText.hpp"
#include "engine/CCDWTextAndColor.hpp"
#include "engine/CCRBase.hpp"
#include "engine/CCRBaseLimits.hpp"
#include "platform/gdi/CMemoryDC.hpp"

// What the definition fuzzers check for each input, shared with the replay test that runs
// the stored corpus in the normal build. Each returns an empty string when every property
// held, else what went wrong. Crashes, leaks and undefined behaviour the sanitizers report.
namespace tokeiya::fuzz {

// A surface in a recognisable state: a failed load must leave exactly this.
inline void Prepare(CCRBase& surface) {
    surface.SetRect(CRect{0, 0, 120, 60});
    surface.SetGridAndMargins(12, 6, 2, 1);
    surface.Items().AddTextItem("before", 1, 1);
    surface.PutText("kept", 0, 5, false);
}

inline std::string Snapshot(const CCRBase& surface) {
    std::string text = surface.TextDefinition();
    for (int row = 0; row < surface.Rows(); ++row) {
        for (int col = 0; col < surface.Cols(); ++col) {
            text += surface.CellAt(col, row)->Chars();
        }
    }
    return text;
}

// The static items are drawn through the surface's checked writers; fonts are not needed.
inline void PaintItems(CCRBase& surface) {
    if (std::int64_t{surface.Cols()} * surface.Rows() > 20000) {
        return;
    }
    CMemoryDC dc(64, 32);
    surface.SetRect(CRect{0, 0, 64, 32});
    surface.DrawFrame(dc);
    surface.DrawLineItems(dc);
}

// Every number a loaded definition set lies within the bounds of CCRBaseLimits.
inline std::string CheckBounds(const CCRBase& surface) {
    using L = CCRBaseLimits;
    auto colour = [](COLORREF c) { return (c & 0xFF000000u) == 0; };
    auto within = [](auto value, auto low, auto high) { return value >= low && value <= high; };
    if (!within(surface.Padding(), 0, L::kMaxMargin) ||
        !within(surface.EdgeWidth(), 0, L::kMaxMargin) ||
        !within(surface.Rows(), 0, L::kMaxGridSide) ||
        !within(surface.Cols(), 0, L::kMaxGridSide)) {
        return "a margin or the grid size is out of bounds";
    }
    if (!colour(surface.EdgeColor()) || !colour(surface.DefaultTextColor()) ||
        !colour(surface.DefaultBackColor())) {
        return "a colour has its high byte set";
    }
    if (surface.Fonts().size() > L::kMaxTextFonts) {
        return "too many fonts";
    }
    for (const CCRFontSet& font : surface.Fonts()) {
        if (!within(font.scale, 0.0, L::kMaxFontScale) ||
            !within(font.aspect, L::kMinFontAspect, L::kMaxFontAspect)) {
            return "a font scale or aspect is out of bounds";
        }
    }
    if (static_cast<std::int64_t>(surface.Items().Size()) > L::kMaxItems) {
        return "too many items";
    }
    for (size_t i = 0; i < surface.Items().Size(); ++i) {
        const CCDWItem& item = surface.Items().At(i);
        for (int position : {item.X1(), item.Y1(), item.X2(), item.Y2()}) {
            if (!within(position, -L::kMaxCoordinate, L::kMaxCoordinate)) {
                return "an item position is out of bounds";
            }
        }
        if (!within(item.Layer(), 0, 2)) {
            return "an item has no layer it is drawn in";
        }
        if (const auto* line = dynamic_cast<const CCDWLineBase*>(&item)) {
            if (!colour(line->Color()) || !within(line->Style(), 0, 4) ||
                !within(line->Width(), 0, L::kMaxPenWidth) ||
                !within(line->Count(), 0, L::kMaxLineCount) ||
                !within(line->Step(), -L::kMaxLineStep, L::kMaxLineStep)) {
                return "a line item's pen, count or step is out of bounds";
            }
        } else if (const auto* fill = dynamic_cast<const CCDWBackColor*>(&item)) {
            if (!colour(fill->Color())) {
                return "a fill colour has its high byte set";
            }
        } else if (const auto* text = dynamic_cast<const CCDWText*>(&item)) {
            const auto* coloured = dynamic_cast<const CCDWTextAndColor*>(&item);
            if (text->Text().size() > L::kMaxCaptionBytes ||
                (coloured != nullptr && !colour(coloured->Color()))) {
                return "a caption is too long or its colour has its high byte set";
            }
        }
    }
    return {};
}

inline std::string ItemsText(const CCRBase& surface) {
    std::string text;
    surface.Items().WriteAllText(text);
    return text;
}

inline bool SameScale(double a, double b) {
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b) || (a != a && b != b);
}

// Everything a package record holds is read back as it was written.
inline std::string CompareWithPackageCopy(const CCRBase& written, const CCRBase& read) {
    if (ItemsText(written) != ItemsText(read) || written.Rows() != read.Rows() ||
        written.Cols() != read.Cols() || written.Padding() != read.Padding() ||
        written.EdgeWidth() != read.EdgeWidth() || written.EdgeColor() != read.EdgeColor() ||
        written.DefaultTextColor() != read.DefaultTextColor() ||
        written.DefaultBackColor() != read.DefaultBackColor()) {
        return "the package record does not read back as written";
    }
    const size_t fonts = std::min<size_t>(4, written.Fonts().size());
    if (read.Fonts().size() != fonts) {
        return "the package record does not keep the first four fonts";
    }
    for (size_t i = 0; i < fonts; ++i) {
        const CCRFontSet& a = written.Fonts()[i];
        const CCRFontSet& b = read.Fonts()[i];
        if (a.logFont.faceName != b.logFont.faceName || !SameScale(a.scale, b.scale) ||
            (a.logFont.charset & 0xFF) != b.logFont.charset) {
            return "a font of the package record does not read back as written";
        }
    }
    return {};
}

inline std::string PackageRoundTrip(const CCRBase& surface, std::string_view name) {
    CByteWriter out;
    if (!surface.WriteBinaryDefinition(out, name)) {
        return "the surface cannot be written as a package record";
    }
    CCRBase copy;
    if (!copy.LoadFromPackageData(out.Data(), name)) {
        return "a package record just written cannot be loaded";
    }
    return CompareWithPackageCopy(surface, copy);
}

// Text definition: applied to a surface, then written, read back and packed.
inline std::string RunTgd(std::span<const unsigned char> data) {
    CCRBase surface;
    Prepare(surface);
    const std::string before = Snapshot(surface);
    if (!surface.ApplyTextDefinition(
            std::string_view(reinterpret_cast<const char*>(data.data()), data.size()))) {
        return Snapshot(surface) == before ? "" : "a refused text definition changed the surface";
    }
    const std::string written = surface.TextDefinition();
    CCRBase reread;
    if (!reread.ApplyTextDefinition(written)) {
        return "a text definition the program wrote is refused";
    }
    if (reread.TextDefinition() != written) {
        return "a text definition the program wrote reads back differently:\n" + written +
               "----\n" + reread.TextDefinition();
    }
    if (std::string problem = CheckBounds(surface); !problem.empty()) {
        return problem;
    }
    std::string problem = PackageRoundTrip(surface, "F.tgd");
    PaintItems(surface);
    if (problem.empty() && !surface.CharactersWhole()) {
        problem = "painting the captions left half a character";
    }
    return problem;
}

// Package: looked up under the first record's name and two fixed ones, then repacked.
inline std::string RunGgd(std::span<const unsigned char> data) {
    std::string first(reinterpret_cast<const char*>(data.data()),
                      std::min<size_t>(data.size(), 128));
    first = first.c_str();
    for (const std::string& name : {first, std::string("A.tgd"), std::string("B.tgd")}) {
        CCRBase surface;
        Prepare(surface);
        const std::string before = Snapshot(surface);
        if (!surface.LoadFromPackageData(data, name)) {
            if (Snapshot(surface) != before) {
                return "a refused package record changed the surface";
            }
            continue;
        }
        if (std::string problem = CheckBounds(surface); !problem.empty()) {
            return problem;
        }
        if (std::string problem = PackageRoundTrip(surface, name); !problem.empty()) {
            return problem;
        }
        PaintItems(surface);
        if (!surface.CharactersWhole()) {
            return "painting the captions left half a character";
        }
    }
    return {};
}

}  // namespace tokeiya::fuzz
