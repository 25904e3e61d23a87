#include "engine/CCDWItemList.hpp"

#include "engine/CCDWBackColor.hpp"
#include "engine/CCDWHLines.hpp"
#include "engine/CCDWLine.hpp"
#include "engine/CCDWRect.hpp"
#include "engine/CCDWText.hpp"
#include "engine/CCDWTextAndColor.hpp"
#include "engine/CCDWVLines.hpp"

namespace tokeiya {

void CCDWItemList::AddLineItem(int x1, int y1, int x2, int y2, COLORREF color, int style,
                               int width) {
    m_items.push_back(std::make_unique<CCDWLine>(x1, y1, x2, y2, color, style, width));
}

void CCDWItemList::AddHLinesItem(int x1, int x2, int y, COLORREF color, int style, int width,
                                 int count, int step) {
    m_items.push_back(std::make_unique<CCDWHLines>(x1, x2, y, color, style, width, count, step));
}

void CCDWItemList::AddVLinesItem(int y1, int y2, int x, COLORREF color, int style, int width,
                                 int count, int step) {
    m_items.push_back(std::make_unique<CCDWVLines>(y1, y2, x, color, style, width, count, step));
}

void CCDWItemList::AddRectItem(int x1, int y1, int x2, int y2, COLORREF color, int style,
                               int width) {
    m_items.push_back(std::make_unique<CCDWRect>(x1, y1, x2, y2, color, style, width));
}

void CCDWItemList::AddBackFillItem(int x1, int y1, int x2, int y2, COLORREF color) {
    m_items.push_back(std::make_unique<CCDWBackColor>(x1, y1, x2, y2, color));
}

void CCDWItemList::AddTextItem(std::string text, int x, int y) {
    m_items.push_back(std::make_unique<CCDWText>(std::move(text), x, y));
}

void CCDWItemList::AddColoredTextItem(std::string text, int x, int y, COLORREF color) {
    m_items.push_back(std::make_unique<CCDWTextAndColor>(std::move(text), x, y, color));
}

int CCDWItemList::DrawLayer(CDC& dc, CCRBase& surface, int layer) const {
    int drawn = 0;
    for (const auto& item : m_items) {
        if (item->Layer() == layer) {
            item->Draw(dc, surface);
            ++drawn;
        }
    }
    return drawn;
}

std::int64_t CCDWItemList::StoredSize() const {
    std::int64_t size = 0;
    for (const auto& item : m_items) {
        size += item->GetStoredSize();
    }
    return size;
}

void CCDWItemList::WriteAllBinary(CByteWriter& out) const {
    for (const auto& item : m_items) {
        item->WriteBinary(out);
    }
}

void CCDWItemList::WriteAllText(std::string& out) const {
    for (const auto& item : m_items) {
        item->WriteText(out);
    }
}

std::unique_ptr<CCDWItem> CCDWItemList::ReadItem(CByteReader& in) {
    std::int32_t kind = 0;
    if (!in.Int32(kind)) {
        return nullptr;
    }
    // Made empty, then filled from the data.
    std::unique_ptr<CCDWItem> item;
    switch (kind) {
        case CCDWItem::kLine:
            item = std::make_unique<CCDWLine>(0, 0, 0, 0, 0, 0, 0);
            break;
        case CCDWItem::kHLines:
            item = std::make_unique<CCDWHLines>(0, 0, 0, 0, 0, 0, 0, 0);
            break;
        case CCDWItem::kVLines:
            item = std::make_unique<CCDWVLines>(0, 0, 0, 0, 0, 0, 0, 0);
            break;
        case CCDWItem::kRect:
            item = std::make_unique<CCDWRect>(0, 0, 0, 0, 0, 0, 0);
            break;
        case CCDWItem::kText:
            item = std::make_unique<CCDWText>(std::string(), 0, 0);
            break;
        case CCDWItem::kTextAndColor:
            item = std::make_unique<CCDWTextAndColor>(std::string(), 0, 0, 0);
            break;
        case CCDWItem::kBackColor:
            item = std::make_unique<CCDWBackColor>(0, 0, 0, 0, 0);
            break;
        default:
            return nullptr;
    }
    if (!item->ReadBinaryBase(in) || !item->ReadBinaryBody(in)) {
        return nullptr;
    }
    return item;
}

bool CCDWItemList::ReadAllBinary(CByteReader& in, std::int64_t count) {
    if (count < 0) {
        return false;
    }
    std::vector<std::unique_ptr<CCDWItem>> items;
    for (std::int64_t i = 0; i < count; ++i) {
        std::unique_ptr<CCDWItem> item = ReadItem(in);
        if (item == nullptr) {
            return false;
        }
        items.push_back(std::move(item));
    }
    m_items = std::move(items);
    return true;
}

}  // namespace tokeiya
