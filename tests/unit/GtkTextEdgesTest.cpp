#include <gtest/gtest.h>

#include <string>

#include "platform/gtk/GtkCommandMenu.hpp"
#include "platform/gtk/GtkInputContext.hpp"
#include "platform/gtk/GtkText.hpp"

// Where CP932 text meets GTK: menu labels and input-method commits.
namespace tokeiya::gtk {
namespace {

TEST(GtkTextEdgesTest, MenuTextsBecomeMnemonicLabels) {
    struct Case {
        std::string cp932;
        const char* utf8;
    };
    const Case cases[] = {
        {"ファイル(&F)", U8(u8"ファイル(_F)")},
        {"バージョン情報 Tokeiya(&A)...", U8(u8"バージョン情報 Tokeiya(_A)...")},
        {"A&&B", "A&B"},
        {"snake_case", "snake__case"},
        {"コピー(&C)\tCtrl+C", U8(u8"コピー(_C)")},
        {"end&", "end"},
        // ダ is 83 5F in CP932: its trail byte is '_' and must not be doubled.
        {"ダ&X", U8(u8"ダ_X")},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MenuLabel(c.cp932), c.utf8) << c.utf8;
    }
}

TEST(GtkTextEdgesTest, CommittedTextKeepsWhatCp932CanHold) {
    struct Case {
        const char* utf8;
        std::string cp932;
        bool dropped;
    };
    const Case cases[] = {
        {U8(u8"全員"), "全員", false},
        {U8(u8"ｶﾅ"), "\xB6\xC5", false},
        {U8(u8"a😀b"), "ab", true},
        {U8(u8"€"), "", true},
        {"\xFF\xFE", "", true},  // not UTF-8 at all
        {"", "", false},
    };
    for (const Case& c : cases) {
        bool dropped = false;
        EXPECT_EQ(Cp932Dropping(c.utf8, dropped), c.cp932) << c.utf8;
        EXPECT_EQ(dropped, c.dropped) << c.utf8;
    }
}

}  // namespace
}  // namespace tokeiya::gtk
