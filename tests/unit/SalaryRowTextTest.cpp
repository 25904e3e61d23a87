#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Cp932.hpp"
#include "rows/SalaryRowText.hpp"

namespace tokeiya {
namespace {

CSalary Pay(const char* user, const char* group, int working, int overtime, float salary,
            float overtimePay) {
    CSalary row;
    row.strUserName = user;
    row.strGroupName = group;
    row.nCutoff = 20;
    row.nDays = 3;
    row.nWorkingMin = working;
    row.nOvertimeMin = overtime;
    row.fSalary = salary;
    row.fOvertimePay = overtimePay;
    row.nErr = 1;
    return row;
}

TEST(SalaryRowText, RowsKeepTheirColumnsAndAddInSinglePrecision) {
    const struct {
        const char* what;
        CSalary row;
        const char* text;
    } cases[] = {
        {"halves go to even as printf rounds", Pay("user10", "営業", 610, 90, 1000.5F, 250),
         " user10                営業                  20日   3日   10:10    1:30      1000       "
         "250"
         "      1250   1 "},
        {"a long name is kept whole", Pay("山田花子ABCDEFGHIJKLMNOPQ", "営業", 0, 0, -1500, 0),
         " 山田花子ABCDEFGHIJKLMNOPQ  営業                  20日   3日    0:00    0:00     -1500"
         "         0     -1500   1 "},
        {"the total is the float sum", Pay("a", "b", 0, 0, 16777216, 1),
         " a                     b                     20日   3日    0:00    0:00  16777216"
         "         1  16777216   1 "},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(cp932::ToUtf8(c.text), cp932::ToUtf8(SalaryRowText(c.row))) << c.what;
    }
    EXPECT_EQ(106u, SalaryRowText(cases[0].row).size()) << "the width of the row bar";
    const std::string empty = SalaryEmptyText();
    EXPECT_EQ(0u, empty.find(" 計算されたデータが有りません。"));
    EXPECT_EQ(106u, empty.size());
}

TEST(SalaryRowText, TotalsAddEachRowAsFloat) {
    const CSalaryTotals totals =
        CSalaryTotals::Of({Pay("a", "", 0, 0, 16777216, 0.5F), Pay("b", "", 0, 0, 1, 0.25F),
                           Pay("c", "", 0, 0, 1, -2)});
    EXPECT_EQ(16777216.0F, totals.salary) << "each 1 is lost against 2^24, as in float";
    EXPECT_EQ(-1.25F, totals.overtimePay);
    EXPECT_EQ(" 16777216        -1  16777215", SalaryTotalsText(totals));
    EXPECT_EQ("        0         0         0", SalaryTotalsText(CSalaryTotals::Of({})));
}

TEST(SalaryRowText, TheExportQuotesOnlyWhatASpreadsheetWouldSplit) {
    EXPECT_EQ(
        "氏名,グループ,締日,日数,勤務時間(時),勤務時間(分),時間外(時),時間外(分),基本給,時間外給,"
        "合計,Er\r\n"
        "user10,\"営業,第一\",20,3,10,10,0,59,1000,250,1250,1\r\n"
        "花子,製造,20,3,0,0,0,0,0,0,0,1\r\n",
        SalaryCsvText(
            {Pay("user10", "営業,第一", 610, 59, 1000.5F, 250), Pay("花子", "製造", 0, 0, 0, 0)}));
    for (const auto& [text, field] : {std::pair{"", ""},
                                      {"say \"hi\"", "\"say \"\"hi\"\"\""},
                                      {"two\r\nlines", "\"two\r\nlines\""},
                                      {"end\n", "\"end\n\""},
                                      {"=1+2", "'=1+2"},
                                      {"+81", "'+81"},
                                      {"-x", "'-x"},
                                      {"@SUM(A1)", "'@SUM(A1)"},
                                      {"=HYPERLINK(\"a\",1)", "\"'=HYPERLINK(\"\"a\"\",1)\""},
                                      {"a=b", "a=b"}}) {
        EXPECT_EQ(field, CsvField(text)) << text;
    }
}

TEST(SalaryRowText, NamesThatLookLikeFormulasAreWrittenAsTextAndAmountsStayNumbers) {
    const std::string text = SalaryCsvText({Pay("=cmd|' /C calc'!A0", "@営業", 0, 0, -500, 0)});
    EXPECT_EQ("'=cmd|' /C calc'!A0,'@営業,20,3,0,0,0,0,-500,0,-500,1\r\n",
              text.substr(text.find("\r\n") + 2));
}

}  // namespace
}  // namespace tokeiya
