#include "screens/gapcheck/GapCheckText.hpp"

#include "data/PayPeriod.hpp"
#include "data/TimeValue.hpp"
#include "platform/TextHelpers.hpp"
#include "rows/FormatText.hpp"
#include "rows/SalaryRowText.hpp"

namespace tokeiya {

using rows::FormatText;

namespace {

constexpr const char* kWeekdays[] = {"日", "月", "火", "水", "木", "金", "土"};
constexpr const char* kOptions[] = {"同日", "前日出勤", "翌日退勤"};

const char* EndText(ActivityEnd how) {
    switch (how) {
        case ActivityEnd::Exit:
            return "終了";
        case ActivityEnd::DesktopEnd:
            return "ログアウト・シャットダウン";
        case ActivityEnd::DisplayLost:
            return "画面の切断";
        case ActivityEnd::Journal:
            return "後日記録";
        case ActivityEnd::Sleep:
            return "スリープ";
        case ActivityEnd::Lock:
            return "画面ロック";
        case ActivityEnd::None:
            break;
    }
    return "終了の記録なし";
}

const char* HowText(ChangeHow how) {
    switch (how) {
        case ChangeHow::LoginStamp:
            return "出勤打刻";
        case ChangeHow::ExitStamp:
            return "退勤打刻";
        case ChangeHow::JournalExit:
            return "退勤打刻(後日記録)";
        case ChangeHow::MonthSchedule:
            return "月間予定";
        case ChangeHow::TimeCardScreen:
            return "タイムカード";
        case ChangeHow::DaySchedule:
            return "日間予定";
        case ChangeHow::Other:
            break;
    }
    return "祭日・その他";
}

std::string ClockText(const CTime& time) {
    return IsEmptyTime(time) ? std::string("--:--")
                             : FormatText("%02d:%02d", time.GetHour(), time.GetMinute());
}

std::string StampText(const CTime& time) {
    return FormatText("%04d/%02d/%02d %02d:%02d", time.GetYear(), time.GetMonth(), time.GetDay(),
                      time.GetHour(), time.GetMinute());
}

const char* OptionText(int option) {
    return option >= 0 && option <= 2 ? kOptions[option] : "?";
}

std::string ChangeText(const CCardChange& change) {
    std::string text;
    const CardValues& a = change.before;
    const CardValues& b = change.after;
    // A new card tells the times it was made with.
    if (change.newCard ? !IsEmptyTime(b.timeFrom) : !(a.timeFrom == b.timeFrom)) {
        text += "  出勤 " + ClockText(a.timeFrom) + " → " + ClockText(b.timeFrom) + "\n";
    }
    if (change.newCard ? !IsEmptyTime(b.timeTo) : !(a.timeTo == b.timeTo)) {
        text += "  退勤 " + ClockText(a.timeTo) + " → " + ClockText(b.timeTo) + "\n";
    }
    if (!change.newCard && a.nLunchMin != b.nLunchMin) {
        text += FormatText("  昼休 %d分 → %d分\n", a.nLunchMin, b.nLunchMin);
    }
    if (!change.newCard && a.flgOption != b.flgOption) {
        text += std::string("  区分 ") + OptionText(a.flgOption) + " → " + OptionText(b.flgOption) +
                "\n";
    }
    return text;
}

}  // namespace

std::string GapMinuteText(int minutes) {
    if (minutes == kNoMinute) {
        return "     ";
    }
    // An arrival on the day before counts below 0; it is shown as that day's time.
    const int shown = minutes < 0 ? minutes + 1440 : minutes;
    return FormatText("%02d:%02d", shown / 60, shown % 60);
}

std::string GapReasonText(const GapCheckRow& row) {
    std::string text;
    auto add = [&text](bool on, const char* word) {
        if (on) {
            text += text.empty() ? word : std::string(" ") + word;
        }
    };
    add(row.early, "PC早");
    add(row.late, "PC遅");
    add(row.noCard, "打刻なし");
    add(row.correctedLater, "後日修正");
    add(row.clockBack, "時計戻り");
    return text;
}

std::string GapCheckRowText(const GapCheckRow& row) {
    const CalendarDay day{row.nYear, row.nMonth, row.nDay};
    const std::string gap = row.gapMinutes >= 0 ? FormatText("%4d", row.gapMinutes) : "    ";
    std::string text = FormatText(
        " %s  %2d/%02d(%s)  %s  %s  %s  %s  %s  %3d  ", FitText(row.userName, 20).c_str(),
        row.nMonth, row.nDay, kWeekdays[day.Weekday()], GapMinuteText(row.firstStart).c_str(),
        GapMinuteText(row.arrival).c_str(), GapMinuteText(row.departure).c_str(),
        GapMinuteText(row.lastEnd).c_str(), gap.c_str(), row.corrections);
    return FitText(text + GapReasonText(row), kGapCheckRowWidth);
}

std::string GapSettingsText(const OfficeSettings& office) {
    return FormatText("基準 %3d分  退勤時刻: %s", office.nGapMin,
                      office.lastExit ? "最後の退出" : "最初の退出");
}

std::string GapCheckCsvText(const std::vector<GapCheckRow>& rows) {
    std::string text = "氏名,日付,PC開始,出勤,退勤,PC終了,差(分),修正回数,理由\r\n";
    auto time = [](int minutes) {
        return minutes == kNoMinute ? std::string() : GapMinuteText(minutes);
    };
    for (const GapCheckRow& row : rows) {
        text += CsvField(row.userName) + ",";
        text += FormatText("%04d/%02d/%02d,", row.nYear, row.nMonth, row.nDay);
        text += time(row.firstStart) + "," + time(row.arrival) + "," + time(row.departure) + "," +
                time(row.lastEnd) + ",";
        text += (row.gapMinutes >= 0 ? std::to_string(row.gapMinutes) : std::string()) + ",";
        text += std::to_string(row.corrections) + "," + CsvField(GapReasonText(row)) + "\r\n";
    }
    return text;
}

std::string GapDayDetailText(const CGapCheck& check, const std::vector<CActivitySpan>& spans,
                             int userId, int year, int month, int day) {
    std::string text =
        FormatText("%s  %d年%d月%d日\n\n", check.NameOf(userId).c_str(), year, month, day);
    text += "[PC利用]\n";
    if (spans.empty()) {
        text += "  なし\n";
    }
    // Each line begins with its times, which are alike in width in any font, and ends with
    // what varies (the computer's name): the pop-up is not in a font of fixed widths.
    for (const CActivitySpan& span : spans) {
        text += "  " + StampText(span.start) + " - ";
        text += span.how == ActivityEnd::None ? std::string() : StampText(span.end) + "  ";
        text += std::string(EndText(span.how)) + "  " + span.computer;
        if (span.Backwards()) {
            text += "  ※時計が戻されています";
        }
        text += "\n";
    }
    text += "\n[修正履歴]\n";
    const std::vector<CCardChange>& changes = check.ChangesOf(userId, year, month, day);
    if (changes.empty()) {
        text += "  なし\n";
    }
    for (const CCardChange& change : changes) {
        text += "  " + StampText(change.at) + "  " + HowText(change.how) +
                (change.newCard ? " (新規)" : "") + "  " + check.NameOf(change.byUser) + "  " +
                change.computer + "\n";
        text += ChangeText(change);
    }
    return text;
}

}  // namespace tokeiya
