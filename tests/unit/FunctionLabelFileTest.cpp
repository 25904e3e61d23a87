#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/support/TempFolder.hpp"
#include "widgets/FunctionLabelFile.hpp"

namespace tokeiya {
namespace {

using gfd::LabelRecord;

std::string LabelAt(const std::vector<unsigned char>& bytes, std::size_t offset) {
    return std::string(reinterpret_cast<const char*>(bytes.data()) + offset);
}

LabelRecord Parse(const std::string& text) {
    std::string error;
    std::optional<LabelRecord> record = gfd::ParseSource(text, "Test.tfd", error);
    EXPECT_TRUE(record.has_value()) << error;
    return record.value_or(LabelRecord{});
}

TEST(FunctionLabelFile, RecordLayoutIsFixedLittleEndianAndNulPadded) {
    LabelRecord record;
    record.name = "CalcuA.tfd";
    record.fileValue = 0x01020304;
    record.labels[0][0] = "前月";
    record.labels[4][1] = "abc";
    record.labels[11][2] = "1234567890123456789";  // the longest a label can be
    std::vector<unsigned char> bytes{0xEE};        // whatever came before stays
    ASSERT_TRUE(gfd::AppendRecord(bytes, record));
    ASSERT_EQ(1 + 788u, bytes.size());
    EXPECT_EQ(0xEE, bytes[0]);
    EXPECT_EQ("CalcuA.tfd", LabelAt(bytes, 1));
    for (std::size_t i = 1 + 10; i < 1 + 64; ++i) {
        ASSERT_EQ(0, bytes[i]) << "name padding at " << i;
    }
    EXPECT_EQ(0x04, bytes[65]);
    EXPECT_EQ(0x03, bytes[66]);
    EXPECT_EQ(0x02, bytes[67]);
    EXPECT_EQ(0x01, bytes[68]);
    // Key k, set s at 68 + ((k - 1) x 3 + s) x 20.
    EXPECT_EQ("前月", LabelAt(bytes, 1 + 68));
    EXPECT_EQ("abc", LabelAt(bytes, 1 + 68 + (4 * 3 + 1) * 20));
    EXPECT_EQ("1234567890123456789", LabelAt(bytes, 1 + 68 + (11 * 3 + 2) * 20));
    EXPECT_EQ(0, bytes[1 + 787]);

    const LabelRecord back = gfd::DecodeRecord(bytes.data() + 1);
    EXPECT_EQ(record.name, back.name);
    EXPECT_EQ(record.fileValue, back.fileValue);
    EXPECT_EQ(record.labels, back.labels);
}

TEST(FunctionLabelFile, ALabelThatCannotBeStoredWholeIsRefusedNotCut) {
    EXPECT_EQ("", gfd::CheckLabel("1234567890123456789"));
    EXPECT_EQ("", gfd::CheckLabel("全角無変換"));
    EXPECT_EQ("", gfd::CheckLabel(""));
    EXPECT_NE("", gfd::CheckLabel("12345678901234567890"));    // 20 bytes
    EXPECT_NE("", gfd::CheckLabel("タイムカード印刷する"));    // 20 bytes of double-byte text
    EXPECT_NE("", gfd::CheckLabel(std::string("ab\x83", 3)));  // lead byte alone at the end
    EXPECT_NE("", gfd::CheckLabel(std::string("a\x83"
                                              "\x20"
                                              "b",
                                              4)));  // lead byte, no trail
    EXPECT_NE("", gfd::CheckLabel(std::string("a\0b", 3)));
    EXPECT_NE("", gfd::CheckName(""));
    EXPECT_NE("", gfd::CheckName(std::string(64, 'n')));
    EXPECT_EQ("", gfd::CheckName(std::string(63, 'n')));

    LabelRecord record;
    record.name = "X.tfd";
    record.labels[2][1] = "12345678901234567890";
    std::vector<unsigned char> bytes;
    EXPECT_FALSE(gfd::AppendRecord(bytes, record));
    EXPECT_TRUE(bytes.empty());
}

TEST(FunctionLabelFile, SourceLabelSetsDefaultToTheFirstOnlyWhenLeftOut) {
    const LabelRecord record = Parse(
        "# comment\r\n"
        "\r\n"
        "F2 = 前月\r\n"
        "F3 = 今月||\n"
        "f4=  |翌月|  \n"
        "  F12 = 画面を隠す | 隠す\n"
        "Value = -7\n");
    EXPECT_EQ("Test.tfd", record.name);
    EXPECT_EQ(-7, record.fileValue);
    using Set = std::array<std::string, 3>;
    EXPECT_EQ((Set{"", "", ""}), record.labels[0]);
    EXPECT_EQ((Set{"前月", "前月", "前月"}), record.labels[1]);
    EXPECT_EQ((Set{"今月", "", ""}), record.labels[2]);
    EXPECT_EQ((Set{"", "翌月", ""}), record.labels[3]);
    EXPECT_EQ((Set{"画面を隠す", "隠す", "画面を隠す"}), record.labels[11]);
    EXPECT_EQ(gfd::kDefaultFileValue, Parse("F1 = x").fileValue);
}

TEST(FunctionLabelFile, SeparatorBytesInsideDoubleByteCharactersDoNotSplitLabels) {
    // "ポ" is 83 7C in CP932: its second byte is the separator's code.
    const LabelRecord record = Parse("F1 = ポ|ポイント\n");
    EXPECT_EQ("ポ", record.labels[0][0]);
    EXPECT_EQ("ポイント", record.labels[0][1]);
    EXPECT_EQ("ポ", record.labels[0][2]);
}

TEST(FunctionLabelFile, SourceErrorsNameTheirLine) {
    struct Case {
        const char* text;
        const char* line;
    };
    const Case cases[] = {
        {"F1 = a\nF13 = b\n", "line 2"},
        {"F0 = a\n", "line 1"},
        {"Fx = a\n", "line 1"},
        {"# c\nF2 = a\nF2 = b\n", "line 3"},
        {"F2 = 12345678901234567890\n", "line 1"},
        {"F2 = a|b|c|d\n", "line 1"},
        {"\n\nValue = three\n", "line 3"},
        {"Value = 1\nValue = 2\n", "line 2"},
        {"just words\n", "line 1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::string error;
        EXPECT_FALSE(gfd::ParseSource(c.text, "Test.tfd", error).has_value());
        EXPECT_NE(std::string::npos, error.find(c.line)) << error;
    }
    std::string error;
    EXPECT_FALSE(gfd::ParseSource("F1 = a", "", error).has_value());
}

TEST(FunctionLabelFile, FindRecordTakesTheFirstMatchAndSkipsAPartialTail) {
    test::TempFolder folder;
    const std::string path = folder.Path() + "/labels.gfd";
    std::vector<unsigned char> bytes;
    LabelRecord first = Parse("F1 = one");
    first.name = "A.tfd";
    LabelRecord second = Parse("F1 = two");
    second.name = "B.tfd";
    LabelRecord shadowed = Parse("F1 = three");
    shadowed.name = "A.tfd";
    LabelRecord cut = Parse("F1 = four");
    cut.name = "C.tfd";
    ASSERT_TRUE(gfd::AppendRecord(bytes, first));
    ASSERT_TRUE(gfd::AppendRecord(bytes, second));
    ASSERT_TRUE(gfd::AppendRecord(bytes, shadowed));
    ASSERT_TRUE(gfd::AppendRecord(bytes, cut));
    bytes.resize(bytes.size() - 1);
    {
        std::ofstream file(path, std::ios::binary);
        file.write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    }
    EXPECT_EQ("one", gfd::FindRecord(path, "A.tfd").value_or(LabelRecord{}).labels[0][0]);
    EXPECT_EQ("two", gfd::FindRecord(path, "B.tfd").value_or(LabelRecord{}).labels[0][0]);
    EXPECT_FALSE(gfd::FindRecord(path, "C.tfd").has_value());
    EXPECT_FALSE(gfd::FindRecord(path, "a.tfd").has_value());  // names match byte for byte
    EXPECT_FALSE(gfd::FindRecord(path, "A.tf").has_value());
    EXPECT_FALSE(gfd::FindRecord(folder.Path() + "/none.gfd", "A.tfd").has_value());
}

// The sources the program's package is built from: keys a screen labels itself while they
// apply must start empty, or the screen would take them as active from the start.
TEST(FunctionLabelFile, ShippedSourcesParseAndLeaveTheScreensOwnKeysEmpty) {
    const std::filesystem::path folder =
        std::filesystem::path(__FILE__).parent_path() / "../../resources/tfd";
    const char* const screens[] = {"MonthSchedule.tfd", "DaySchedule.tfd", "CalcuA.tfd",
                                   "CalcuB.tfd",        "Group.tfd",       "User.tfd",
                                   "LoginSystem.tfd",   "IME.tfd"};
    for (const char* name : screens) {
        SCOPED_TRACE(name);
        std::ifstream file(folder / name, std::ios::binary);
        ASSERT_TRUE(file.good());
        const std::string text{std::istreambuf_iterator<char>(file), {}};
        std::string error;
        const std::optional<LabelRecord> record = gfd::ParseSource(text, name, error);
        ASSERT_TRUE(record.has_value()) << error;
        EXPECT_EQ("", record->labels[0][0]) << "F1 is labelled only when there is news";
        const std::string screen = name;
        if (screen != "IME.tfd") {
            EXPECT_NE("", record->labels[11][0]) << "every screen acts on F12";
        }
        if (screen == "CalcuA.tfd" || screen == "CalcuB.tfd") {
            // Shifted, their printing keys save PDF files instead, and say so.
            EXPECT_NE(record->labels[11][0], record->labels[11][1]);
        }
    }
    std::ifstream month(folder / "MonthSchedule.tfd", std::ios::binary);
    std::ifstream day(folder / "DaySchedule.tfd", std::ios::binary);
    std::string error;
    const auto monthRecord = gfd::ParseSource(
        std::string{std::istreambuf_iterator<char>(month), {}}, "MonthSchedule.tfd", error);
    const auto dayRecord = gfd::ParseSource(std::string{std::istreambuf_iterator<char>(day), {}},
                                            "DaySchedule.tfd", error);
    ASSERT_TRUE(monthRecord && dayRecord);
    EXPECT_EQ("", monthRecord->labels[5][0]);  // F6 "現在" only over a time of today
    EXPECT_EQ("", dayRecord->labels[4][0]);    // F5 "行削除" only in the list
    EXPECT_EQ("", dayRecord->labels[5][0]);
}

}  // namespace
}  // namespace tokeiya
