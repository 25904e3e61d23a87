#include "widgets/CCRWTTime.hpp"

#include <cstdio>
#include <ctime>
#include <optional>

#include "widgets/TextEntryRules.hpp"

namespace tokeiya {

CCRWTTime::CCRWTTime(win::IHostWindow* host, const CRect& rect, bool withSeconds)
    : CCRWTBase(host, rect, withSeconds ? 8 : 5, 1, 0), m_withSeconds(withSeconds) {}

void CCRWTTime::Start(const CTime& time, bool selectAll) {
    std::string text;
    std::tm local{};
    // A time beyond the local calendar has no time of day to show either.
    if (!IsEmptyTime(time) && time.GetLocalTm(local)) {
        char buffer[16];
        if (m_withSeconds) {
            std::snprintf(buffer, sizeof buffer, "%02d:%02d:%02d", local.tm_hour, local.tm_min,
                          local.tm_sec);
        } else {
            std::snprintf(buffer, sizeof buffer, "%02d:%02d", local.tm_hour, local.tm_min);
        }
        text = buffer;
    }
    SetText(text);
    if (selectAll) {
        // Selected from the end back, so that the caret stays at the start.
        Select(static_cast<int>(Text().size()), 0);
    }
    m_imeMode = 0;
    SetMouseEnabled(true);
    Show(true, true);
}

bool CCRWTTime::FilterChar(std::string& character) {
    const std::optional<char> half = HalfWidthOf(character);
    const std::optional<char> typed = half ? TimeCharacter(*half) : std::nullopt;
    if (!typed) {
        return false;
    }
    character.assign(1, *typed);
    return true;
}

bool CCRWTTime::CanPaste() {
    std::string text;
    return GetHost() != nullptr && GetHost()->GetClipboardText(text) &&
           IsPastableTimeText(text, m_cols);
}

void CCRWTTime::EditPaste() {
    std::string text;
    if (GetHost() == nullptr || !GetHost()->GetClipboardText(text) ||
        !IsPastableTimeText(text, m_cols)) {
        return;
    }
    SetText(TimeTextOf(text));
    SetCaretOffset(static_cast<int>(Text().size()));
}

bool CCRWTTime::ParseTimeInto(CTime& var) {
    std::string text;
    GetRowText(text, 0);
    return tokeiya::ParseTimeInto(text, m_withSeconds, var);
}

}  // namespace tokeiya
