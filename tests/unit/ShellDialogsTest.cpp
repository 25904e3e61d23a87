#include <gtest/gtest.h>

#include "platform/headless/ScriptedDialogs.hpp"
#include "shell/CConnectionDlg.hpp"
#include "shell/CSetHolidayDlg.hpp"

namespace tokeiya {
namespace {

TEST(ConnectionDialog, OnlyTheChosenEnginesFieldsCanBeEdited) {
    ConnectionForm form;
    form.file = "/data/tokeiya.db";
    CConnectionDlg dialog(form);
    EXPECT_EQ(CConnectionDlg::kFile, dialog.InitialFocus());
    EXPECT_TRUE(dialog.Field(CConnectionDlg::kFile).enabled);
    EXPECT_FALSE(dialog.Field(CConnectionDlg::kServer).enabled);
    EXPECT_FALSE(dialog.SetText(CConnectionDlg::kServer, "db"));

    ASSERT_TRUE(dialog.SetChoice(CConnectionDlg::kEngine,
                                 CConnectionDlg::EngineChoice(DbEngine::SqlServer)));
    EXPECT_FALSE(dialog.Field(CConnectionDlg::kFile).enabled);
    EXPECT_TRUE(dialog.Field(CConnectionDlg::kServer).enabled);
    EXPECT_EQ("Tokeiya", dialog.Field(CConnectionDlg::kDatabase).text)
        << "a SQL Server's database is called Tokeiya unless said otherwise";
    EXPECT_EQ("既定 (1433)", dialog.Field(CConnectionDlg::kPort).placeholder);
    EXPECT_TRUE(dialog.Field(CConnectionDlg::kPort).latinOnly);
}

TEST(ConnectionDialog, RefusesAMissingFileAndABadPort) {
    CConnectionDlg sqlite(ConnectionForm{});
    auto refused = sqlite.Validate();
    ASSERT_TRUE(refused);
    EXPECT_EQ(CConnectionDlg::kFile, refused->fieldId);
    EXPECT_EQ("データベースファイルを指定してください。", refused->message);

    ConnectionForm pg;
    pg.engine = DbEngine::PostgreSQL;
    pg.server = "db";
    CConnectionDlg server(pg);
    for (const char* bad : {"65536", "port", "-1"}) {
        server.SetText(CConnectionDlg::kPort, bad);
        refused = server.Validate();
        ASSERT_TRUE(refused) << bad;
        EXPECT_EQ(CConnectionDlg::kPort, refused->fieldId);
    }
    // Empty stands for the default port; full-width digits are digits.
    server.SetText(CConnectionDlg::kPort, "");
    EXPECT_FALSE(server.Validate());
    server.SetText(CConnectionDlg::kPort, "５４３３");
    EXPECT_FALSE(server.Validate());
    EXPECT_EQ(5433, server.Form().port);
}

TEST(ConnectionDialog, TheFormComesBackAsTypedWithTheFailureShownAbove) {
    ConnectionForm form;
    form.engine = DbEngine::PostgreSQL;
    form.server = "db.office";
    form.port = 5433;
    form.database = "tokeiya";
    form.user = "hanako";
    form.errorText = "could not connect";
    CConnectionDlg dialog(form);
    EXPECT_EQ("could not connect", dialog.Notice());
    EXPECT_EQ(CConnectionDlg::kServer, dialog.InitialFocus());
    dialog.SetText(CConnectionDlg::kPassword, "secret");
    ConnectionForm back = dialog.Form();
    EXPECT_EQ(DbEngine::PostgreSQL, back.engine);
    EXPECT_EQ("db.office", back.server);
    EXPECT_EQ(5433, back.port);
    EXPECT_EQ("tokeiya", back.database);
    EXPECT_EQ("hanako", back.user);
    EXPECT_EQ("secret", back.password);
}

TEST(HolidayDialog, ShowsTheDateAndStartsWithTheCurrentName) {
    CSetHolidayDlg dialog;
    dialog.Setup(2026, 1, 5, "成人の日");
    EXPECT_EQ("2026 年  1 月  5 日", dialog.m_strDate);
    EXPECT_EQ("成人の日", dialog.m_strName);
    EXPECT_EQ("祭日設定", dialog.Caption());
    EXPECT_EQ(CSetHolidayDlg::kName, dialog.InitialFocus());
    dialog.Setup(2026, 11, 23, "");
    EXPECT_EQ("2026 年 11 月 23 日", dialog.m_strDate);
}

TEST(HolidayDialog, TheCallersCheckTakesTwentyBytesAndNoMore) {
    EXPECT_STREQ("祭日名が入力されていません。", CSetHolidayDlg::NameProblem(""));
    EXPECT_EQ(nullptr, CSetHolidayDlg::NameProblem(std::string(20, 'a')));
    EXPECT_EQ(nullptr, CSetHolidayDlg::NameProblem("あいうえおかきくけこ")) << "ten double-byte";
    EXPECT_STREQ("祭日名が長すぎます。", CSetHolidayDlg::NameProblem(std::string(21, 'a')));
    EXPECT_STREQ("祭日名が長すぎます。", CSetHolidayDlg::NameProblem("あいうえおかきくけこa"));
}

// A name longer than the field holds is refused in the dialog, which stays open with the
// typing, so that it can be shortened there.
TEST(HolidayDialog, TheTypedNameComesBackOnOkOnly) {
    CScriptedDialogs desktop;
    desktop.m_unexpected = [](const std::string& what) { ADD_FAILURE() << what; };
    CSetHolidayDlg dialog;
    dialog.Setup(2026, 2, 11, "建国記念日");
    desktop.QueueDialog([](CScriptedDialog& shown) {
        EXPECT_EQ("2026 年  2 月 11 日", shown.Text(CSetHolidayDlg::kDate));
        EXPECT_EQ("建国記念日", shown.Text(CSetHolidayDlg::kName));
        for (const std::string& tooLong :
             {std::string(21, 'a'), std::string("あいうえおかきくけこa")}) {
            shown.Type(CSetHolidayDlg::kName, tooLong);
            EXPECT_FALSE(shown.PressOk()) << tooLong;
            EXPECT_EQ(tooLong, shown.Text(CSetHolidayDlg::kName)) << "the typing stays";
            EXPECT_EQ(CSetHolidayDlg::kName, shown.Focus());
        }
        shown.Type(CSetHolidayDlg::kName, std::string(20, 'a'));
        EXPECT_TRUE(shown.PressOk());
    });
    ASSERT_TRUE(dialog.DoModal(desktop));
    EXPECT_EQ(std::string(20, 'a'), dialog.m_strName);
    EXPECT_EQ(nullptr, CSetHolidayDlg::NameProblem(dialog.m_strName));

    desktop.QueueDialog([](CScriptedDialog& shown) {
        shown.Type(CSetHolidayDlg::kName, "x");
        shown.PressCancel();
    });
    EXPECT_FALSE(dialog.DoModal(desktop));
    EXPECT_EQ(std::string(20, 'a'), dialog.m_strName);
}

}  // namespace
}  // namespace tokeiya
