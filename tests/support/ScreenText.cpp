#include "tests/support/ScreenText.hpp"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <utility>
#include <vector>

#include "platform/Cp932.hpp"
#include "platform/gdi/CMemoryDC.hpp"

namespace tokeiya::test {

namespace {

constexpr std::string_view kKeys = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";

using Colours = std::pair<COLORREF, COLORREF>;  // text, effective background

Colours ColoursOf(const CCRCell& cell) {
    return {cell.textColor, cell.EffectiveBack()};
}

std::string Hex(COLORREF colour) {
    char text[8];
    std::snprintf(text, sizeof text, "%02X%02X%02X", GetRValue(colour), GetGValue(colour),
                  GetBValue(colour));
    return text;
}

// Letters for colour pairs in the order they are first asked for.
class Legend {
  public:
    char KeyOf(const Colours& colours) {
        auto found = std::find(m_pairs.begin(), m_pairs.end(), colours);
        const size_t index = static_cast<size_t>(found - m_pairs.begin());
        if (found == m_pairs.end()) {
            m_pairs.push_back(colours);
        }
        return index < kKeys.size() ? kKeys[index] : '?';
    }
    std::string Line() const {
        std::string line = "colours:";
        for (size_t i = 0; i < m_pairs.size(); ++i) {
            line += ' ';
            line += i < kKeys.size() ? kKeys[i] : '?';
            line += '=' + Hex(m_pairs[i].first) + '/' + Hex(m_pairs[i].second);
        }
        return line;
    }

  private:
    std::vector<Colours> m_pairs;
};

std::vector<std::string_view> Lines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        lines.push_back(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    }
    return lines;
}

}  // namespace

std::string ScreenText(const CCRBase& surface, const ScreenTextOptions& options) {
    CRect area = options.cells;
    if (area.IsEmpty()) {
        area = CRect{0, 0, surface.Cols(), surface.Rows()};
    }
    area = CRect{std::max(area.left, 0), std::max(area.top, 0),
                 std::min(area.right, surface.Cols()), std::min(area.bottom, surface.Rows())};
    if (!surface.HasCells()) {
        area = CRect{};
    }
    Legend legend;
    std::string rows;  // CP932 until the end
    for (int row = area.top; row < area.bottom; ++row) {
        Colours current{};
        for (int col = area.left; col < area.right; ++col) {
            const CCRCell& cell = *surface.CellAt(col, row);
            if (col == area.left || ColoursOf(cell) != current) {
                current = ColoursOf(cell);
                rows += '{';
                rows += legend.KeyOf(current);
                rows += '}';
            }
            if (surface.MaskText()) {
                rows += cell.IsEmpty() ? ' ' : CCRBase::kMaskChar;
            } else if (cell.IsEmpty() || (cell.IsContinuation() && col == area.left) ||
                       (cell.IsDoubleByte() && col == area.right - 1)) {
                // Half a character cut by the edge of the area shows as a blank.
                rows += ' ';
            } else if (!cell.IsContinuation()) {
                rows += cell.Chars() == "{" ? std::string_view("{{") : cell.Chars();
            }
        }
        rows += "|\n";
    }
    return legend.Line() + '\n' + cp932::ToUtf8(rows);
}

void PaintStaticItems(CCRBase& surface) {
    CMemoryDC dc(1, 1);
    surface.DrawFrame(dc);
}

std::string ScreenDiff(std::string_view expected, std::string_view actual) {
    const std::vector<std::string_view> want = Lines(expected);
    const std::vector<std::string_view> got = Lines(actual);
    std::string out;
    for (size_t i = 0; i < std::max(want.size(), got.size()); ++i) {
        const bool hasWant = i < want.size();
        const bool hasGot = i < got.size();
        if (hasWant && hasGot && want[i] == got[i]) {
            out += "  " + std::string(want[i]) + '\n';
            continue;
        }
        if (hasWant) {
            out += "- " + std::string(want[i]) + '\n';
        }
        if (hasGot) {
            out += "+ " + std::string(got[i]) + '\n';
        }
    }
    return out;
}

::testing::AssertionResult ScreenMatches(const CCRBase& surface, std::string_view expected,
                                         const ScreenTextOptions& options) {
    const std::string actual = ScreenText(surface, options);
    if (actual == expected) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "the screen differs (- expected, + actual):\n"
                                         << ScreenDiff(expected, actual);
}

::testing::AssertionResult ScreenMatchesFile(const CCRBase& surface, const std::string& path,
                                             const ScreenTextOptions& options) {
    const char* update = std::getenv("TOKEIYA_UPDATE_GOLDEN");
    if (update != nullptr && std::string_view(update) == "1") {
        std::ofstream(path, std::ios::binary) << ScreenText(surface, options);
        return ::testing::AssertionSuccess();
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return ::testing::AssertionFailure()
               << "no golden file " << path << " (TOKEIYA_UPDATE_GOLDEN=1 writes it)";
    }
    const std::string expected((std::istreambuf_iterator<char>(in)), {});
    ::testing::AssertionResult result = ScreenMatches(surface, expected, options);
    if (!result) {
        result << "golden file: " << path;
    }
    return result;
}

}  // namespace tokeiya::test
