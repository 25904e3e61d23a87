#include "widgets/CFunctionMenu.hpp"

#include <algorithm>
#include <cmath>

#include "engine/CCRFontDef.hpp"
#include "platform/AppContext.hpp"
#include "widgets/FunctionLabelFile.hpp"

namespace tokeiya {

using namespace win;

static_assert(IFunctionKeyBar::kKeyCount == gfd::kKeys &&
              IFunctionKeyBar::kLabelSets == gfd::kLabelSets);

const std::array<CFunctionMenu::Colors, IFunctionKeyBar::kLabelSets> CFunctionMenu::kColors = {{
    {RGB(0, 0, 0), RGB(200, 225, 255), RGB(0, 0, 0), RGB(100, 225, 255)},
    {RGB(0, 0, 0), RGB(255, 255, 200), RGB(0, 0, 0), RGB(255, 255, 100)},
    {RGB(0, 0, 0), RGB(255, 200, 255), RGB(0, 0, 0), RGB(255, 100, 255)},
}};

namespace {

// Fractions of the bar width: twelve keys, a small gap between the keys of a group of four
// and a large one between the groups, filling the bar exactly.
constexpr double kSmallGap = 0.005;
constexpr double kLargeGap = 0.015;
constexpr double kKeyWidth = (1.0 - 9 * kSmallGap - 2 * kLargeGap) / IFunctionKeyBar::kKeyCount;

int Round(double value) {
    return static_cast<int>(std::lround(value));
}

// The font every caption is drawn in: the last of the program's fonts that names a face.
const CCRFontDef* CaptionFont() {
    const CCRFontDef* chosen = nullptr;
    for (const CCRFontDef& font : CCRFontDef::Defaults()) {
        if (!font.faceName.empty()) {
            chosen = &font;
        }
    }
    return chosen;
}

}  // namespace

CFunctionMenu::CFunctionMenu(IHostWindow* host, bool withInterfaces)
    : m_withInterfaces(withInterfaces) {
    CFunctionMenu::SetHost(host);
    for (int key = 1; key <= kKeyCount; ++key) {
        AddRegion(CRect{}, key, 0);
    }
    SetMouseEnabled(withInterfaces);
}

CFunctionMenu::~CFunctionMenu() = default;

void CFunctionMenu::SetHost(IHostWindow* host) {
    m_host = host;
    CKeyManager::SetHost(host);
    CMouseManagerH::SetHost(host);
}

IHostWindow* CFunctionMenu::GetHost() const {
    return m_host;
}

std::string& CFunctionMenu::Label(int labelSet, int key) {
    return m_labels[static_cast<std::size_t>(key - 1)][static_cast<std::size_t>(labelSet)];
}

const std::string& CFunctionMenu::Label(int labelSet, int key) const {
    return m_labels[static_cast<std::size_t>(key - 1)][static_cast<std::size_t>(labelSet)];
}

void CFunctionMenu::SetLabel(int labelSet, int key, const std::string& text, bool redraw) {
    if (!ValidSet(labelSet) || !ValidKey(key) || Label(labelSet, key) == text) {
        return;
    }
    Label(labelSet, key) = text;
    if (redraw && labelSet == m_labelSet) {
        RedrawKey(key);
    }
}

void CFunctionMenu::SetLabels(int key, const std::string& label0,
                              const std::optional<std::string>& label1,
                              const std::optional<std::string>& label2) {
    if (!ValidKey(key)) {
        return;
    }
    Label(0, key) = label0;
    Label(1, key) = label1.value_or(label0);
    Label(2, key) = label2.value_or(label0);
}

std::string CFunctionMenu::GetLabel(int labelSet, int key) const {
    if (!ValidSet(labelSet) || !ValidKey(key)) {
        return {};
    }
    return Label(labelSet, key);
}

bool CFunctionMenu::HasLabel(int labelSet, int key) const {
    return ValidSet(labelSet) && ValidKey(key) && !Label(labelSet, key).empty();
}

void CFunctionMenu::SetVisible(bool visible) {
    m_visible = visible;
    RedrawBar();
}

void CFunctionMenu::SetHighlight(int key) {
    m_highlightKey = key >= 0 && key <= kKeyCount ? key : 0;
    RedrawBar();
}

void CFunctionMenu::SetLabelSet(int labelSet) {
    if (!ValidSet(labelSet)) {
        return;
    }
    m_labelSet = labelSet;
    RedrawBar();
}

bool CFunctionMenu::GetBarRect(CRect& rect) const {
    if (m_host == nullptr) {
        return false;
    }
    const CRect client = m_host->ClientRect();
    const int width = client.Width();
    const int height = client.Height();
    if (width <= 0 || height <= 0) {
        return false;
    }
    const int left = Round(0.02 * width) - 1;
    const int top = Round(0.95 * height) - 1;
    rect = CRect{left, top, width - left + 1, Round((0.95 + 0.038) * height) + 1};
    return true;
}

bool CFunctionMenu::KeyRectIn(const CRect& bar, int key, CRect& rect) const {
    if (!ValidKey(key)) {
        return false;
    }
    const double barWidth = bar.Width();
    double position = 0;
    for (int k = 1; k < key; ++k) {
        position += kKeyWidth + (k % 4 != 0 ? kSmallGap : kLargeGap);
    }
    rect = CRect{bar.left + Round(barWidth * position), bar.top,
                 bar.left + Round(barWidth * (position + kKeyWidth)), bar.bottom};
    return true;
}

bool CFunctionMenu::GetKeyRect(int key, CRect& rect) const {
    CRect bar;
    return ValidKey(key) && GetBarRect(bar) && KeyRectIn(bar, key, rect);
}

void CFunctionMenu::PlaceRegions() {
    CRect bar;
    const bool placed = GetBarRect(bar);
    for (CMouseRect& region : m_regions) {
        CRect rect;
        if (!placed || !KeyRectIn(bar, region.id, rect)) {
            rect = CRect{};
        }
        region.rect = rect;
    }
}

void CFunctionMenu::RedrawKey(int key) {
    CRect rect;
    if (GetKeyRect(key, rect)) {
        m_host->InvalidateRect(rect, false);
    }
}

void CFunctionMenu::RedrawBar() {
    CRect rect;
    if (GetBarRect(rect)) {
        m_host->InvalidateRect(rect, false);
    }
}

void CFunctionMenu::Paint(CDC& dc) {
    CRect bar;
    if (!m_visible || !GetBarRect(bar)) {
        return;
    }
    PlaceRegions();
    const COLORREF textColor = dc.GetTextColor();
    const COLORREF bkColor = dc.GetBkColor();
    const BkMode bkMode = dc.SetBkMode(BkMode::Transparent);
    const auto font = dc.GetCurrentFont();
    for (int key = 1; key <= kKeyCount; ++key) {
        CRect box;
        KeyRectIn(bar, key, box);
        PaintKey(dc, key, box);
    }
    dc.SelectFont(font);
    dc.SetBkMode(bkMode);
    dc.SetBkColor(bkColor);
    dc.SetTextColor(textColor);
}

void CFunctionMenu::PaintKey(CDC& dc, int key, const CRect& box) const {
    const Colors& colors = kColors[static_cast<std::size_t>(m_labelSet)];
    const bool highlighted = key == m_highlightKey;
    dc.FillSolidRect(box, highlighted ? colors.highlightBox : colors.box);
    const std::string& label = Label(m_labelSet, key);
    if (!label.empty()) {
        if (const CCRFontDef* def = CaptionFont()) {
            // As large as the box allows: 70% of its height, and the whole caption within
            // 85% of its width at the face's proportions.
            const double ratio = def->aspect > 0 ? def->aspect : 2.0;
            const double maxHeight = 0.7 * box.Height();
            const double maxWidth = 0.85 * box.Width() / static_cast<double>(label.size());
            const double height = std::min(maxHeight, maxWidth * ratio);
            LogFont logFont;
            logFont.height = std::max(1, static_cast<int>(height));
            logFont.width = std::max(1, static_cast<int>(height / ratio));
            logFont.weight = highlighted ? 700 : 400;
            logFont.charset = def->charset;
            logFont.faceName = def->faceName;
            dc.SelectFont(logFont);
        }
        dc.SetTextColor(highlighted ? colors.highlightText : colors.text);
        dc.DrawTextInBox(label, box);
    }
    dc.FrameRect(box, RGB(0, 0, 0));
}

bool CFunctionMenu::OfferKey(const Message& message) {
    if (!m_withInterfaces) {
        return false;
    }
    switch (message.message) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            return OnKeyDown(message);
        case WM_KEYUP:
        case WM_SYSKEYUP:
            return OnKeyUp(message);
        default:
            return false;
    }
}

bool CFunctionMenu::OfferMouse(const Message& message) {
    return m_withInterfaces && OnMouseMessage(message);
}

bool CFunctionMenu::OnShift(int, bool down) {
    const int shown = down ? m_shiftSet : 0;
    if (m_shiftSet != 0 && m_labelSet != shown) {
        SetLabelSet(shown);
    }
    // The screen may want Shift too.
    return false;
}

bool CFunctionMenu::OnFKey(int n, int modifiers, bool down) {
    // The press is left alone, so that the command comes once, on the release.
    if (down || !ValidKey(n) || (n == 1 && m_reserveF1)) {
        return false;
    }
    PostFunctionKey(n, modifiers);
    return true;
}

bool CFunctionMenu::OnLButtonUp(int, int x, int y) {
    // The regions follow the client size even when no paint has placed them since.
    PlaceRegions();
    int key = 0;
    int subId = 0;
    if (!HitTest(x, y, key, subId, 1) || !ValidKey(key)) {
        return false;
    }
    PostFunctionKey(key, 0);
    return true;
}

void CFunctionMenu::PostFunctionKey(int key, int modifiers) {
    if (m_host != nullptr) {
        const int command = m_labelSet * 100 + key;
        m_host->PostMessage(WM_FUNCTION_KEY, static_cast<WPARAM>(command),
                            static_cast<LPARAM>(modifiers));
    }
}

bool CFunctionMenu::LoadLabels(std::string_view name, const std::string& path, bool redraw) {
    const std::optional<gfd::LabelRecord> record =
        gfd::FindRecord(path.empty() ? LabelFile() : path, name);
    if (!record) {
        return false;
    }
    m_fileValue = record->fileValue;
    for (int key = 1; key <= kKeyCount; ++key) {
        const auto& labels = record->labels[static_cast<std::size_t>(key - 1)];
        SetLabels(key, labels[0], labels[1], labels[2]);
    }
    if (redraw && m_visible) {
        RedrawBar();
    }
    return true;
}

void CFunctionMenu::SetLabelFile(const std::string& path) {
    CAppContext::Current().functionKeyFile = path;
}

std::string CFunctionMenu::LabelFile() {
    const std::string& path = CAppContext::Current().functionKeyFile;
    return path.empty() ? std::string(kDefaultLabelFile) : path;
}

}  // namespace tokeiya
