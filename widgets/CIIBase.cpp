#include "widgets/CIIBase.hpp"

#include <algorithm>
#include <cstring>

namespace tokeiya {

using namespace win;

namespace {

// The bytes a variable of a numeric or time type occupies.
size_t SizeOfType(int type) {
    switch (type) {
        case 3:
            return sizeof(short);
        case 4:
            return sizeof(int);
        case 5:
            return sizeof(long);
        case 6:
            return sizeof(float);
        case 7:
            return sizeof(double);
        case 8:
            return sizeof(long long);
        case 9:
            return sizeof(CTime);
        default:
            return 0;
    }
}

}  // namespace

CIIBase::CIIBase(int kind, int x, int y, int width)
    : m_kind(kind), m_x(x), m_y(y), m_width(width) {}

CIIBase::~CIIBase() = default;

void CIIBase::DropBackup() {
    m_hasBackup = false;
    m_backupText.clear();
    m_backupBytes.clear();
}

void CIIBase::MakeBackup(int type) {
    DropBackup();
    if (type == 2) {
        m_backupBytes.assign(static_cast<size_t>(std::max(m_width, 0)) + 1, '\0');
    } else if (type != 1) {
        m_backupBytes.assign(SizeOfType(type), '\0');
    }
    m_hasBackup = true;
}

void CIIBase::BindValue(void* value, int type) {
    if (type == 2) {
        BindBuffer(static_cast<char*>(value));
        return;
    }
    if (type < 1 || type > 9) {
        BindRaw(value, type);
        return;
    }
    if (type != m_valueType || !m_hasBackup) {
        MakeBackup(type);
    }
    m_value = value;
    m_valueType = type;
}

void CIIBase::BindRaw(void* value, int type) {
    if (type != m_valueType) {
        DropBackup();
    }
    m_value = value;
    m_valueType = type;
}

void CIIBase::BindBuffer(char* buffer) {
    if (m_valueType != 2 || !m_hasBackup) {
        MakeBackup(2);
    }
    m_value = buffer;
    m_valueType = 2;
}

bool CIIBase::GetText(std::string&) const {
    return false;
}

void CIIBase::Draw(CCRWin& form, bool redraw) const {
    std::string text;
    if (!GetText(text)) {
        return;
    }
    // Byte 1 writes an empty cell: nothing of an older, longer value stays behind.
    form.PutTextAndBack(std::string(static_cast<size_t>(std::max(m_width, 0)), '\x01'), m_x, m_y,
                        form.DefaultTextColor(), form.DefaultBackColor(), false);
    form.PutText(text, m_x, m_y, form.DefaultTextColor(), false);
    if (redraw) {
        const int shown = std::max(m_width, static_cast<int>(text.size()));
        form.InvalidateCells(CRect{m_x, m_y, m_x + shown, m_y + 1}, false);
    }
}

void CIIBase::AddHitRegion(CCRWin& form, int id, int subId, int width) const {
    form.AddMouseRegion(m_x, m_y, width == -1 ? m_width : width, 1, id, subId);
}

void CIIBase::SaveValue() {
    if (m_valueType < 1 || m_valueType > 9) {
        SaveOtherValue();
        return;
    }
    if (m_value == nullptr || !m_hasBackup) {
        return;
    }
    if (m_valueType == 1) {
        m_backupText = *ValueAs<std::string>();
    } else {
        std::memcpy(m_backupBytes.data(), m_value, m_backupBytes.size());
    }
}

bool CIIBase::CancelEdit(int* changedOut) {
    if (changedOut != nullptr) {
        *changedOut = 0;
    }
    return RestoreValue();
}

bool CIIBase::RestoreValue() {
    if (m_valueType < 1 || m_valueType > 9) {
        return RestoreOtherValue();
    }
    if (m_value == nullptr || !m_hasBackup) {
        return false;
    }
    if (m_valueType == 1) {
        *ValueAs<std::string>() = m_backupText;
    } else {
        std::memcpy(m_value, m_backupBytes.data(), m_backupBytes.size());
    }
    m_changed = false;
    return true;
}

void CIIBase::SaveOtherValue() {}

bool CIIBase::RestoreOtherValue() {
    return false;
}

void CIIBase::SetPos(int x, int y) {
    m_x = x;
    m_y = y;
}

void CIIBase::SetPosSize(int x, int y, int width) {
    m_x = x;
    m_y = y;
    m_width = width;
}

std::string CIIBase::BoundText() const {
    if (m_value == nullptr) {
        return {};
    }
    if (m_valueType == 1) {
        return *ValueAs<std::string>();
    }
    if (m_valueType == 2) {
        // Never past the buffer's width + 1 bytes, even without its NUL.
        const char* buffer = ValueAs<char>();
        return std::string(buffer, strnlen(buffer, static_cast<size_t>(std::max(m_width, 0))));
    }
    return {};
}

void CIIBase::StoreText(const std::string& text) const {
    if (m_value == nullptr) {
        return;
    }
    if (m_valueType == 1) {
        *ValueAs<std::string>() = text;
    } else if (m_valueType == 2) {
        const size_t n = std::min(text.size(), static_cast<size_t>(std::max(m_width, 0)));
        std::memcpy(m_value, text.data(), n);
        ValueAs<char>()[n] = '\0';
    }
}

double CIIBase::BoundNumber() const {
    if (m_value == nullptr) {
        return 0;
    }
    switch (m_valueType) {
        case 3:
            return *ValueAs<short>();
        case 4:
            return *ValueAs<int>();
        case 5:
            return static_cast<double>(*ValueAs<long>());
        case 6:
            return *ValueAs<float>();
        case 7:
            return *ValueAs<double>();
        case 8:
            return static_cast<double>(*ValueAs<long long>());
        default:
            return 0;
    }
}

void CIIBase::UseEditorColors(CCRWin& editor, const IEditorForm& form) {
    editor.SetDefaultColors(form.EditorText(), form.EditorBack());
    editor.ResetAllColors();
}

bool CIIBase::PlaceOnField(IEditorForm& form, int width, CRect& rect) const {
    EditorPlacement placement;
    placement.x = m_x;
    placement.y = m_y;
    placement.width = width;
    placement.height = 1;
    return form.PlaceEditor(placement, rect);
}

}  // namespace tokeiya
