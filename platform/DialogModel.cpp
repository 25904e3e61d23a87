#include "platform/DialogModel.hpp"

#include <climits>
#include <stdexcept>

#include "platform/Cp932.hpp"

namespace tokeiya {
namespace {

bool TakesInput(const DialogField& field) {
    return field.kind != FieldKind::Static;
}

bool IsEntry(FieldKind kind) {
    return kind == FieldKind::Text || kind == FieldKind::Password || kind == FieldKind::Integer ||
           kind == FieldKind::File;
}

std::string Replace(std::string text, std::string_view marker, const std::string& value) {
    size_t at = text.find(marker);
    if (at != std::string::npos) {
        text.replace(at, marker.size(), value);
    }
    return text;
}

// The digit at the front of `text`, consumed; -1 when there is none. Full-width digits
// are 82 4F..82 58 in CP932.
int TakeDigit(std::string_view& text) {
    if (text[0] >= '0' && text[0] <= '9') {
        int digit = text[0] - '0';
        text.remove_prefix(1);
        return digit;
    }
    if (text.size() >= 2 && static_cast<unsigned char>(text[0]) == 0x82) {
        auto second = static_cast<unsigned char>(text[1]);
        if (second >= 0x4F && second <= 0x58) {
            text.remove_prefix(2);
            return second - 0x4F;
        }
    }
    return -1;
}

}  // namespace

CDialogModel::CDialogModel(std::string caption) : m_caption(std::move(caption)) {}

DialogField MakeField(int id, FieldKind kind, std::string label, std::string text) {
    DialogField field;
    field.id = id;
    field.kind = kind;
    field.label = std::move(label);
    field.text = std::move(text);
    return field;
}

DialogField MakeIntegerField(int id, std::string label, int minValue, int maxValue,
                             std::string suffix) {
    DialogField field = MakeField(id, FieldKind::Integer, std::move(label));
    field.minValue = minValue;
    field.maxValue = maxValue;
    field.suffix = std::move(suffix);
    return field;
}

DialogField& CDialogModel::Add(DialogField field) {
    if (Find(field.id) != nullptr) {
        throw std::logic_error("dialog field id used twice");
    }
    if (field.kind == FieldKind::Password || field.kind == FieldKind::Integer) {
        field.latinOnly = true;
    }
    m_fields.push_back(std::move(field));
    return m_fields.back();
}

const DialogField* CDialogModel::Find(int id) const {
    for (const DialogField& field : m_fields) {
        if (field.id == id) {
            return &field;
        }
    }
    return nullptr;
}

DialogField* CDialogModel::Find(int id) {
    return const_cast<DialogField*>(static_cast<const CDialogModel*>(this)->Find(id));
}

const DialogField& CDialogModel::Field(int id) const {
    const DialogField* field = Find(id);
    if (field == nullptr) {
        throw std::logic_error("no such dialog field");
    }
    return *field;
}

DialogField& CDialogModel::Field(int id) {
    return const_cast<DialogField&>(static_cast<const CDialogModel*>(this)->Field(id));
}

int CDialogModel::InitialFocus() const {
    if (m_initialFocusSet) {
        return m_initialFocus;
    }
    for (const DialogField& field : m_fields) {
        if (field.enabled && TakesInput(field)) {
            return field.id;
        }
    }
    return 0;
}

void CDialogModel::SetInitialFocus(int id) {
    m_initialFocus = id;
    m_initialFocusSet = true;
}

bool CDialogModel::SetText(int id, std::string cp932) {
    DialogField* field = Find(id);
    if (field == nullptr || !field->enabled || !IsEntry(field->kind)) {
        return false;
    }
    field->text = std::move(cp932);
    field->unencodable = false;
    OnChanged(id);
    return true;
}

bool CDialogModel::SetTypedText(int id, std::string_view utf8) {
    std::optional<std::string> strict = cp932::FromUtf8Strict(utf8);
    if (!SetText(id, strict ? *strict : cp932::FromUtf8(utf8))) {
        return false;
    }
    Field(id).unencodable = !strict;
    return true;
}

bool CDialogModel::SetChecked(int id, bool checked) {
    DialogField* field = Find(id);
    if (field == nullptr || !field->enabled || field->kind != FieldKind::CheckBox) {
        return false;
    }
    field->checked = checked;
    OnChanged(id);
    return true;
}

bool CDialogModel::SetChoice(int id, int index) {
    DialogField* field = Find(id);
    if (field == nullptr || !field->enabled || field->kind != FieldKind::Choice || index < 0 ||
        index >= static_cast<int>(field->choices.size())) {
        return false;
    }
    field->choice = index;
    OnChanged(id);
    return true;
}

std::optional<DialogRejection> CDialogModel::CheckField(const DialogField& field) const {
    if (!field.enabled || !IsEntry(field.kind)) {
        return std::nullopt;
    }
    if (field.kind == FieldKind::Integer) {
        std::optional<int> value = field.unencodable ? std::nullopt : ParseInteger(field.text);
        if (!value) {
            return DialogRejection{field.id, NotAnIntegerMessage()};
        }
        if (*value < field.minValue || *value > field.maxValue) {
            return DialogRejection{field.id, RangeMessage(field.minValue, field.maxValue)};
        }
        return std::nullopt;
    }
    if (field.unencodable) {
        std::string message = field.label.empty() ? std::string() : field.label + "に";
        return DialogRejection{field.id, message + "使えない文字が含まれています。"};
    }
    if (field.maxBytes != 0 && field.text.size() > field.maxBytes) {
        return DialogRejection{field.id, LengthMessage(field.maxBytes)};
    }
    return std::nullopt;
}

std::optional<DialogRejection> CDialogModel::Validate() {
    std::optional<DialogRejection> rejection;
    for (const DialogField& field : m_fields) {
        rejection = CheckField(field);
        if (rejection) {
            break;
        }
    }
    if (!rejection) {
        rejection = CheckInput();
    }
    if (rejection) {
        m_notice = rejection->message;
    }
    return rejection;
}

int CDialogModel::IntValue(int id) const {
    return ParseInteger(Field(id).text).value_or(0);
}

void CDialogModel::SetIntValue(int id, int value) {
    Field(id).text = std::to_string(value);
}

void CDialogModel::OnChanged(int) {}

std::optional<DialogRejection> CDialogModel::CheckInput() {
    return std::nullopt;
}

std::string CDialogModel::NotAnIntegerMessage() {
    return "整数を入力してください。";
}

std::string CDialogModel::RangeMessage(int minValue, int maxValue) {
    std::string text =
        Replace("%1 から %2 までの整数を入力してください。", "%1", std::to_string(minValue));
    return Replace(std::move(text), "%2", std::to_string(maxValue));
}

std::string CDialogModel::LengthMessage(size_t maxBytes) {
    return Replace("%1 文字以内で入力してください。", "%1", std::to_string(maxBytes));
}

std::optional<int> CDialogModel::ParseInteger(std::string_view text) {
    constexpr std::string_view kBlanks = " \t";
    size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return std::nullopt;
    }
    text = text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
    bool negative = false;
    if (text[0] == '-' || text[0] == '+') {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    if (text.empty()) {
        return std::nullopt;
    }
    long long value = 0;
    while (!text.empty()) {
        int digit = TakeDigit(text);
        if (digit < 0) {
            return std::nullopt;
        }
        value = value * 10 + digit;
        if (value > static_cast<long long>(INT_MAX) + 1) {
            return std::nullopt;
        }
    }
    value = negative ? -value : value;
    if (value > INT_MAX || value < INT_MIN) {
        return std::nullopt;
    }
    return static_cast<int>(value);
}

}  // namespace tokeiya
