#include <algorithm>
#include <bit>
#include <charconv>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>

#include "engine/CCDWLineBase.hpp"
#include "engine/CCDWText.hpp"
#include "engine/CCRBase.hpp"
#include "engine/CCRBaseLimits.hpp"
#include "platform/AppContext.hpp"
#include "platform/TextHelpers.hpp"

namespace tokeiya {

namespace {

constexpr size_t kHeaderSize = 1232;
constexpr size_t kNameBytes = 128;
constexpr size_t kFaceBytes = 256;
constexpr int kStoredFonts = static_cast<int>(CCRBaseLimits::kMaxPackageFonts);
constexpr std::int32_t kMinItemSize = CCDWItem::kBaseSize;
// Real definitions are a few kilobytes; the limits only keep a damaged or hostile file
// from filling memory before it is rejected.
constexpr std::uintmax_t kMaxTextFileBytes = std::uintmax_t{16} << 20;
constexpr std::uintmax_t kMaxPackageBytes = std::uintmax_t{64} << 20;

// Everything a definition sets, built apart from the surface so that a load that fails
// halfway changes nothing.
struct Definition {
    int padding = 0;
    int edgeWidth = 0;
    COLORREF edgeColor = 0;
    int rows = 0;
    int cols = 0;
    COLORREF textColor = 0;
    COLORREF backColor = 0;
    std::vector<CCRFontSet> fonts;
    CCDWItemList items;

    bool GridFits() const { return CCRBaseLimits::GridFits(cols, rows); }
};

std::vector<std::string_view> Split(std::string_view text, std::string_view separator) {
    std::vector<std::string_view> pieces;
    size_t start = 0;
    for (size_t at = text.find(separator); at != std::string_view::npos;
         at = text.find(separator, start)) {
        pieces.push_back(text.substr(start, at - start));
        start = at + separator.size();
    }
    pieces.push_back(text.substr(start));
    return pieces;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Leading blanks, an optional sign and digits, like atoi, but a value beyond int's range
// is held at its end instead of being undefined.
int ReadInt(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    std::int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = std::min<std::int64_t>(value * 10 + (text[i] - '0'), std::int64_t{INT_MAX} + 1);
    }
    value = negative ? -value : std::min<std::int64_t>(value, INT_MAX);
    return static_cast<int>(value);
}

// Like atof, but always with '.' as the decimal point whatever the process locale says.
double ReadDouble(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) {
        ++i;
    }
    if (i < text.size() && text[i] == '+' && (i + 1 >= text.size() || text[i + 1] != '-')) {
        ++i;
    }
    double value = 0;
    const char* first = text.data() + i;
    if (std::from_chars(first, text.data() + text.size(), value).ec != std::errc()) {
        return 0;
    }
    return value;
}

// strtol with base 0 (decimal, 0x hexadecimal, leading 0 octal); the low 8 bits count.
unsigned ReadColorComponent(std::string_view text) {
    const std::string copy(text);
    const long value = std::strtol(copy.c_str(), nullptr, 0);
    return static_cast<unsigned>(static_cast<unsigned long>(value) & 0xFFu);
}

std::optional<COLORREF> ReadColor(std::span<const std::string_view> parts) {
    if (parts.size() != 3) {
        return std::nullopt;
    }
    return RGB(ReadColorComponent(parts[0]), ReadColorComponent(parts[1]),
               ReadColorComponent(parts[2]));
}

int CharsetFromWord(std::string_view word) {
    if (word == "A") {
        return Charset::Ansi;
    }
    if (word == "J") {
        return Charset::ShiftJis;
    }
    if (word == "BIG5") {
        return Charset::ChineseBig5;
    }
    if (word == "GB2312") {
        return Charset::Gb2312;
    }
    return Charset::Default;
}

const char* CharsetWord(int charset) {
    switch (charset) {
        case Charset::Ansi:
            return "A";
        case Charset::ShiftJis:
            return "J";
        case Charset::Gb2312:
            return "GB2312";
        case Charset::ChineseBig5:
            return "BIG5";
        default:
            return "U";
    }
}

// "%4.2f" without the locale's decimal point.
std::string FormatScale(double value) {
    char buffer[400];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 2);
    std::string text(buffer, result.ec == std::errc() ? result.ptr : buffer);
    if (text.size() < 4) {
        text.insert(0, 4 - text.size(), ' ');
    }
    return text;
}

void ApplyFonts(Definition& def, std::string_view value) {
    const std::vector<std::string_view> parts = Split(value, ",");
    if (parts.size() % 4 != 0) {
        return;
    }
    def.fonts.clear();
    for (size_t i = 0; i < parts.size() && def.fonts.size() < CCRBaseLimits::kMaxTextFonts;
         i += 4) {
        CCRFontSet font;
        font.SetFaceName(parts[i]);
        font.scale = CCRBaseLimits::FontScale(ReadDouble(parts[i + 1]));
        font.logFont.charset = CharsetFromWord(parts[i + 2]);
        font.aspect = CCRBaseLimits::FontAspect(ReadDouble(parts[i + 3]));
        def.fonts.push_back(std::move(font));
    }
}

void ApplyParameter(Definition& def, std::string_view line) {
    const std::vector<std::string_view> pieces = Split(line, " = ");
    // A key without a value is skipped, like every other malformed line.
    if (pieces.size() < 2 || pieces[1].empty()) {
        return;
    }
    const std::string key = UpperText(std::string(pieces[0]));
    const std::string_view value = pieces[1];
    std::optional<COLORREF> color;
    if (key == "EDGECOLOR" || key == "TEXTCOLOR" || key == "BACKCOLOR") {
        color = ReadColor(Split(value, ","));
        if (!color) {
            return;
        }
    }
    if (key == "PADDING") {
        def.padding = CCRBaseLimits::Margin(ReadInt(value));
    } else if (key == "EDGEWIDTH") {
        def.edgeWidth = CCRBaseLimits::Margin(ReadInt(value));
    } else if (key == "EDGECOLOR") {
        def.edgeColor = *color;
    } else if (key == "ROWS") {
        def.rows = CCRBaseLimits::GridSide(ReadInt(value));
    } else if (key == "COLS") {
        def.cols = CCRBaseLimits::GridSide(ReadInt(value));
    } else if (key == "TEXTCOLOR") {
        def.textColor = *color;
    } else if (key == "BACKCOLOR") {
        def.backColor = *color;
    } else if (key == "FONT") {
        ApplyFonts(def, value);
    }
}

// The pen fields that follow the positions of a line record, from `at` on: colour when
// three components are there, then style, width, count and step, each when present.
struct Pen {
    COLORREF color = RGB(0, 0, 0);
    int style = PenStyle::Solid;
    int width = 1;
    int count = 1;
    int step = 1;
};

Pen ReadPen(std::span<const std::string_view> fields, size_t at) {
    Pen pen;
    if (fields.size() >= at + 3) {
        pen.color = *ReadColor(fields.subspan(at, 3));
    }
    if (fields.size() >= at + 4) {
        pen.style = CCDWLineBase::StyleFromName(fields[at + 3]);
    }
    if (fields.size() >= at + 5) {
        pen.width = CCRBaseLimits::PenWidth(ReadInt(fields[at + 4]));
    }
    if (fields.size() >= at + 6) {
        pen.count = CCRBaseLimits::LineCount(ReadInt(fields[at + 5]));
    }
    if (fields.size() >= at + 7) {
        pen.step = CCRBaseLimits::LineStep(ReadInt(fields[at + 6]));
    }
    return pen;
}

void ApplyCommand(Definition& def, std::string_view line) {
    const size_t space = line.find(' ');
    if (space == std::string_view::npos ||
        static_cast<std::int64_t>(def.items.Size()) >= CCRBaseLimits::kMaxItems) {
        return;
    }
    const std::string keyword = UpperText(std::string(line.substr(0, space)));
    const std::vector<std::string_view> f = Split(line.substr(space + 1), ",");
    auto n = [&](size_t i) { return CCRBaseLimits::Coordinate(ReadInt(f[i])); };
    auto caption = [&] { return CCRBaseLimits::Caption(CCDWText::DecodeCommas(f[0])); };
    if ((keyword == "L" || keyword == "R") && f.size() >= 4) {
        const Pen pen = ReadPen(f, 4);
        if (keyword == "L") {
            def.items.AddLineItem(n(0), n(1), n(2), n(3), pen.color, pen.style, pen.width);
        } else {
            def.items.AddRectItem(n(0), n(1), n(2), n(3), pen.color, pen.style, pen.width);
        }
    } else if ((keyword == "HL" || keyword == "VL") && f.size() >= 3) {
        const Pen pen = ReadPen(f, 3);
        if (keyword == "HL") {
            def.items.AddHLinesItem(n(0), n(1), n(2), pen.color, pen.style, pen.width, pen.count,
                                    pen.step);
        } else {
            def.items.AddVLinesItem(n(0), n(1), n(2), pen.color, pen.style, pen.width, pen.count,
                                    pen.step);
        }
    } else if (keyword == "BF" && f.size() >= 7) {
        def.items.AddBackFillItem(n(0), n(1), n(2), n(3), *ReadColor(std::span(f).subspan(4, 3)));
    } else if (keyword == "T" && f.size() >= 3) {
        def.items.AddTextItem(caption(), n(1), n(2));
    } else if (keyword == "TC" && f.size() >= 6) {
        def.items.AddColoredTextItem(caption(), n(1), n(2), *ReadColor(std::span(f).subspan(3, 3)));
    }
}

// The whole file, or nothing when it cannot be read or is far larger than any definition.
std::optional<std::string> ReadWholeFile(const std::string& path, std::uintmax_t limit) {
    std::unique_ptr<FILE, decltype(&std::fclose)> file(std::fopen(path.c_str(), "rb"),
                                                       &std::fclose);
    if (file == nullptr) {
        return std::nullopt;
    }
    std::string data;
    char buffer[65536];
    for (;;) {
        const size_t got = std::fread(buffer, 1, sizeof buffer, file.get());
        data.append(buffer, got);
        if (data.size() > limit) {
            return std::nullopt;
        }
        if (got < sizeof buffer) {
            break;
        }
    }
    if (std::ferror(file.get()) != 0) {
        return std::nullopt;
    }
    return data;
}

bool WriteWholeFile(const std::string& path, std::string_view data) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    const bool written = std::fwrite(data.data(), 1, data.size(), file) == data.size();
    // A full disk may only show when the buffer is flushed at close.
    const bool closed = std::fclose(file) == 0;
    return written && closed;
}

// Puts a definition that passed every check into the surface. The grid is rebuilt last:
// its fresh cells take the new colours and its metrics the new fonts and margins.
void Install(Definition&& def, CCRBase& surface) {
    surface.SetPadding(def.padding);
    surface.SetEdgeWidth(def.edgeWidth);
    surface.SetEdgeColor(def.edgeColor);
    surface.SetDefaultColors(def.textColor, def.backColor);
    surface.Fonts() = std::move(def.fonts);
    surface.Items() = std::move(def.items);
    // A grid of zero rows or columns is a valid definition: the surface then has no cells.
    surface.SetGridSize(def.cols, def.rows);
}

// A header field that holds a NUL-terminated text of at most `size` bytes.
std::string_view CString(std::string_view field) {
    return field.substr(0, strnlen(field.data(), field.size()));
}

}  // namespace

bool CCRBase::ApplyDefinitionLines(std::span<const std::string> lines) {
    Definition def;
    def.padding = m_padding;
    def.edgeWidth = m_edgeWidth;
    def.edgeColor = m_edgeColor;
    def.rows = m_rows;
    def.cols = m_cols;
    def.textColor = m_defaultTextColor;
    def.backColor = m_defaultBackColor;
    def.fonts = m_fonts;

    enum class Section { kOutside, kParam, kCmd };
    Section section = Section::kOutside;
    for (const std::string& whole : lines) {
        // Lines are C strings: a NUL ends one, as it ends every text the program writes.
        const std::string_view line(whole.c_str());
        if (line == "[PARAM]") {
            section = Section::kParam;
        } else if (line == "[END PARAM]") {
            section = Section::kOutside;
        } else if (line == "[CMD]") {
            section = Section::kCmd;
        } else if (line == "[END CMD]") {
            break;
        } else if (line.empty() || line.front() == '#') {
            continue;
        } else if (section == Section::kParam) {
            ApplyParameter(def, line);
        } else if (section == Section::kCmd) {
            ApplyCommand(def, line);
        }
    }
    if (!def.GridFits()) {
        return false;
    }
    Install(std::move(def), *this);
    return true;
}

bool CCRBase::ApplyTextDefinition(std::string_view text) {
    std::vector<std::string> lines;
    for (std::string_view line : Split(text, "\n")) {
        // Files written on Windows end their lines in CR LF.
        while (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (!line.empty()) {
            lines.emplace_back(line);
        }
    }
    return ApplyDefinitionLines(lines);
}

bool CCRBase::ReadTextDefinitionFile(const std::string& path) {
    const std::optional<std::string> data = ReadWholeFile(path, kMaxTextFileBytes);
    return data && ApplyTextDefinition(*data);
}

bool CCRBase::ReadTextDefinition(std::string_view name) {
    return ReadTextDefinitionFile(std::string(kTextDefinitionFolder) + std::string(name));
}

std::string CCRBase::TextDefinition() const {
    auto color = [](COLORREF c) {
        return std::to_string(GetRValue(c)) + ',' + std::to_string(GetGValue(c)) + ',' +
               std::to_string(GetBValue(c)) + '\n';
    };
    std::string out = "[PARAM]\n";
    out += "Padding = " + std::to_string(m_padding) + '\n';
    out += "EdgeWidth = " + std::to_string(m_edgeWidth) + '\n';
    out += "EdgeColor = " + color(m_edgeColor);
    out += "Rows = " + std::to_string(m_rows) + '\n';
    out += "Cols = " + std::to_string(m_cols) + '\n';
    if (m_defaultTextColor != RGB(0, 0, 0)) {
        out += "TextColor = " + color(m_defaultTextColor);
    }
    if (m_defaultBackColor != RGB(255, 255, 255)) {
        out += "BackColor = " + color(m_defaultBackColor);
    }
    out += "Font = ";
    for (size_t i = 0; i < m_fonts.size(); ++i) {
        const CCRFontSet& font = m_fonts[i];
        out += i == 0 ? "" : ",";
        out += font.logFont.faceName + ',' + FormatScale(font.scale) + ',' +
               CharsetWord(font.logFont.charset) + ',' + FormatScale(font.aspect);
    }
    out += "\n[CMD]\n";
    m_items.WriteAllText(out);
    return out;
}

bool CCRBase::WriteTextDefinitionFile(const std::string& path) const {
    return WriteWholeFile(path, TextDefinition());
}

bool CCRBase::WriteTextDefinition(std::string_view name) const {
    return WriteTextDefinitionFile(std::string(kTextDefinitionFolder) + std::string(name));
}

bool CCRBase::WriteBinaryDefinition(CByteWriter& out, std::string_view name) const {
    // The name must keep its NUL inside the field, or no lookup could ever match it.
    if (name.size() >= kNameBytes || name.find('\0') != std::string_view::npos) {
        return false;
    }
    const int fonts = std::min<int>(kStoredFonts, static_cast<int>(m_fonts.size()));
    out.Bytes(name);
    out.Zeros(kNameBytes - name.size());
    out.Int32(m_padding);
    out.Int32(m_rows);
    out.Int32(m_cols);
    out.Int32(fonts);
    for (int i = 0; i < kStoredFonts; ++i) {
        const double scale = i < fonts ? m_fonts[size_t(i)].scale : 0.0;
        out.Int64(std::bit_cast<std::int64_t>(scale));
    }
    for (int i = 0; i < kStoredFonts; ++i) {
        const int charset = i < fonts ? m_fonts[size_t(i)].logFont.charset : 0;
        out.Bytes(std::string(1, static_cast<char>(charset & 0xFF)));
    }
    for (int i = 0; i < kStoredFonts; ++i) {
        const std::string_view face =
            i < fonts ? std::string_view(m_fonts[size_t(i)].logFont.faceName) : std::string_view();
        const std::string_view kept = face.substr(0, kFaceBytes - 1);
        out.Bytes(kept);
        out.Zeros(kFaceBytes - kept.size());
    }
    out.UInt32(m_edgeColor);
    out.Int32(m_edgeWidth);
    out.UInt32(m_defaultTextColor);
    out.UInt32(m_defaultBackColor);
    out.Int32(static_cast<std::int32_t>(m_items.Size()));
    out.Int64(m_items.StoredSize());
    m_items.WriteAllBinary(out);
    return true;
}

bool CCRBase::LoadFromPackageData(std::span<const unsigned char> package, std::string_view name) {
    CByteReader in(package);
    for (;;) {
        if (in.Remaining() < kHeaderSize) {
            return false;
        }
        std::string recordName;
        std::int32_t padding = 0, rows = 0, cols = 0, fontCount = 0, edgeWidth = 0, items = 0;
        std::int64_t scales[kStoredFonts] = {};
        std::string charsets, faces;
        std::uint32_t edgeColor = 0, textColor = 0, backColor = 0;
        std::int64_t dataLength = 0;
        in.Bytes(kNameBytes, recordName);
        in.Int32(padding);
        in.Int32(rows);
        in.Int32(cols);
        in.Int32(fontCount);
        for (std::int64_t& scale : scales) {
            in.Int64(scale);
        }
        in.Bytes(kStoredFonts, charsets);
        in.Bytes(kStoredFonts * kFaceBytes, faces);
        in.UInt32(edgeColor);
        in.Int32(edgeWidth);
        in.UInt32(textColor);
        in.UInt32(backColor);
        in.Int32(items);
        in.Int64(dataLength);
        // A short header, or item data the package does not hold, ends the search: the
        // next record could not be found anyway.
        if (in.Failed() || dataLength < 0 || std::uint64_t(dataLength) > in.Remaining()) {
            return false;
        }
        const size_t length = static_cast<size_t>(dataLength);
        // A name that fills its field leaves no room for the NUL: no record is called that.
        if (name.size() >= kNameBytes || CString(recordName) != name) {
            in.Skip(length);
            continue;
        }

        Definition def;
        def.padding = CCRBaseLimits::Margin(padding);
        def.rows = CCRBaseLimits::GridSide(rows);
        def.cols = CCRBaseLimits::GridSide(cols);
        def.edgeColor = CCRBaseLimits::Color(edgeColor);
        def.edgeWidth = CCRBaseLimits::Margin(edgeWidth);
        def.textColor = CCRBaseLimits::Color(textColor);
        def.backColor = CCRBaseLimits::Color(backColor);
        if (fontCount < 0 || fontCount > kStoredFonts || items < 0 ||
            items > CCRBaseLimits::kMaxItems || std::int64_t{items} * kMinItemSize > dataLength ||
            !def.GridFits()) {
            return false;
        }
        for (int i = 0; i < fontCount; ++i) {
            CCRFontSet font;
            font.SetFaceName(
                CString(std::string_view(faces).substr(size_t(i) * kFaceBytes, kFaceBytes)));
            font.scale = CCRBaseLimits::FontScale(std::bit_cast<double>(scales[i]));
            font.logFont.charset = static_cast<unsigned char>(charsets[size_t(i)]);
            def.fonts.push_back(std::move(font));
        }
        // The items fill the record's data exactly: they may not reach into the next
        // record, and data they leave over means the header and the items disagree.
        CByteReader data(package.subspan(in.Position(), length));
        if (!def.items.ReadAllBinary(data, items) || data.Remaining() != 0) {
            return false;
        }
        Install(std::move(def), *this);
        return true;
    }
}

bool CCRBase::LoadFromPackage(std::string_view name, std::string_view packagePath) {
    std::string path(packagePath);
    if (path.empty()) {
        path = CAppContext::Current().screenDefinitionFile;
    }
    if (path.empty()) {
        path = kDefaultPackage;
    }
    const std::optional<std::string> data = ReadWholeFile(path, kMaxPackageBytes);
    if (!data) {
        return false;
    }
    return LoadFromPackageData(
        std::span(reinterpret_cast<const unsigned char*>(data->data()), data->size()), name);
}

}  // namespace tokeiya
