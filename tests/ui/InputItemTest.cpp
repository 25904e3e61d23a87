#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "data/TimeValue.hpp"
#include "platform/Cp932.hpp"
#include "tests/support/DbFaults.hpp"
#include "tests/support/ScopedTimeZone.hpp"
#include "tests/support/ScreenText.hpp"
#include "tests/support/TestDatabase.hpp"
#include "tests/ui/FormDesk.hpp"
#include "widgets/CCRWMCodeName.hpp"
#include "widgets/CCRWTDigit.hpp"
#include "widgets/CCRWTString.hpp"
#include "widgets/CCRWTTime.hpp"
#include "widgets/CIIDbCodeMenu.hpp"
#include "widgets/CIIDigit.hpp"
#include "widgets/CIISelecter.hpp"
#include "widgets/CIISpaceSelecter.hpp"
#include "widgets/CIIString.hpp"
#include "widgets/CIITime.hpp"

namespace tokeiya {
namespace {

using namespace win;
using test::FormDesk;

// The field's row from its first cell, `width` cells, as UTF-8 text.
std::string FieldText(CCRWin& form, const CIIBase& item, int width) {
    std::string text;
    form.GetRowText(text, item.Y(), item.X(), item.X() + width - 1, false);
    return cp932::ToUtf8(text);
}
std::string U(std::string_view cp932) {
    return cp932::ToUtf8(cp932);
}

TEST(InputItem, NumberWidthsFollowFromTheirDigits) {
    long value = 0;
    CIIDigit signedTenths(0, 0, 3, 1, nullptr, true);
    EXPECT_EQ(6, signedTenths.Width()) << "sign, three digits, point, one decimal";
    CIIDigit plain(0, 0, 2, &value, false);
    EXPECT_EQ(2, plain.Width());
    CIIDigit item(0, 0, 2, &value, true);
    item.SetDigits(7, 8, 4, 0);
    EXPECT_EQ(5, item.Width()) << "the sign stays";
    EXPECT_EQ(7, item.X());
    item.SetPosSize(1, 1, 20);
    EXPECT_EQ(7, item.X()) << "a number item's place and width come from SetDigits only";
    EXPECT_EQ(5, item.Width());
}

TEST(InputItem, TextFieldsShowTheirTextPaddedAndOpenOnlyWhenItFits) {
    FormDesk desk;
    std::string password = "abc";
    CIIPassword secret(2, 4, 10, &password);
    secret.Draw(*desk.form, true);
    EXPECT_EQ("***       ", FieldText(*desk.form, secret, 10))
        << "three stars; the rest of the field blank";
    std::string text;
    ASSERT_TRUE(secret.GetText(text));
    EXPECT_EQ("***       ", text);

    std::string twelve = "abcdefghijkl";
    CIIString longText(2, 6, 10, &twelve, 0, false, true);
    longText.Draw(*desk.form, true);
    EXPECT_EQ("abcdefghijkl", FieldText(*desk.form, longText, 12)) << "drawn whole";
    EXPECT_FALSE(longText.OpenEditor(*desk.form)) << "but not edited in a field it overflows";
    EXPECT_EQ(nullptr, desk.form->Editor());

    CIIString unbound(2, 8, 10, nullptr, 0, false, true);
    unbound.Draw(*desk.form, true);
    EXPECT_EQ("", FieldText(*desk.form, unbound, 10));
    EXPECT_FALSE(unbound.OpenEditor(*desk.form));
}

TEST(InputItem, DrawingReplacesAnOlderValueAndTheFieldTakesClicks) {
    FormDesk desk;
    std::string text = "abcdef";
    CIIString item(4, 9, 6, &text, 0, false, true);
    item.Draw(*desk.form, true);
    text = "xy";
    item.Draw(*desk.form, true);
    EXPECT_EQ("xy    ", FieldText(*desk.form, item, 6));
    EXPECT_TRUE(desk.form->CellAt(9, 9)->HasCharacter()) << "a text field pads with blanks";

    long number = 7;
    CIIDigit digit(4, 10, 3, &number, false);
    digit.m_format = "%d";
    digit.Draw(*desk.form, true);
    number = 5;
    digit.Draw(*desk.form, true);
    EXPECT_EQ("5", FieldText(*desk.form, digit, 3));
    EXPECT_TRUE(desk.form->CellAt(5, 10)->IsEmpty()) << "the rest of the field is cleared";

    item.AddHitRegion(*desk.form, 7, 2, -1);
    digit.AddHitRegion(*desk.form, 8, 0, 1);
    int id = 0;
    int subId = 0;
    EXPECT_TRUE(desk.form->HitTest(FormDesk::X(9), FormDesk::Y(9), id, subId, 1));
    EXPECT_EQ(7, id);
    EXPECT_EQ(2, subId);
    id = 0;
    EXPECT_FALSE(desk.form->HitTest(FormDesk::X(10), FormDesk::Y(9), id, subId, 1));
    EXPECT_FALSE(desk.form->HitTest(FormDesk::X(5), FormDesk::Y(10), id, subId, 1))
        << "one cell asked for";
}

TEST(InputItem, ATextEditorOpensOverTheFieldAndItsTextGoesBack) {
    FormDesk desk;
    char buffer[9] = "abc";
    CIIString item(5, 2, 8, nullptr, 0, true, true);
    item.Bind(buffer);
    ASSERT_EQ(2, item.ValueType());
    item.SaveValue();
    ASSERT_TRUE(item.OpenEditor(*desk.form));
    auto* editor = dynamic_cast<CCRWTString*>(desk.form->Editor());
    ASSERT_NE(nullptr, editor);
    EXPECT_EQ(desk.form->CellRectToPixels(CRect{5, 2, 13, 3}).left, editor->GetRect().left);
    EXPECT_EQ(8, editor->Cols());
    EXPECT_EQ("abc", editor->SelectedText()) << "opened with its text selected";
    EXPECT_EQ(RGB(200, 230, 250), editor->DefaultBackColor()) << "in the form's editor colours";

    desk.window.Type("出勤x");
    desk.window.Press(VK_SPACE);
    EXPECT_EQ(std::vector<std::string>{"32/0"}, desk.form->exits) << "Space ends the edit";
    ASSERT_TRUE(item.TakeResult(*editor));
    EXPECT_TRUE(item.Changed());
    EXPECT_STREQ("出勤x", buffer);

    // The same text again is no change.
    ASSERT_TRUE(item.OpenEditor(*desk.form));
    EXPECT_FALSE(item.Changed()) << "opening clears the flag";
    ASSERT_TRUE(item.TakeResult(*desk.form->Editor()));
    EXPECT_FALSE(item.Changed());
}

TEST(InputItem, NumbersGoBackAsTheirVariablesHoldThem) {
    FormDesk desk;
    int whole = 12;
    CIIDigit item(0, 1, 3, 1, nullptr, true);  // one decimal, bound to an int
    item.Bind(&whole);
    item.m_format = "%3d";
    ASSERT_TRUE(item.OpenEditor(*desk.form));
    desk.window.Type("12.5");
    ASSERT_TRUE(item.TakeResult(*desk.form->Editor()));
    EXPECT_EQ(12, whole) << "an integer takes the whole part";
    EXPECT_TRUE(item.Changed()) << "12 against 12.5 is a change";
    item.Draw(*desk.form, true);
    EXPECT_EQ(" 12", FieldText(*desk.form, item, 3));

    double precise = 0;
    CIIDigit tenths(0, 2, 3, 2, nullptr, false);
    tenths.Bind(&precise);
    tenths.m_format = "%6.2f";
    ASSERT_TRUE(tenths.OpenEditor(*desk.form));
    desk.window.Type("3.25");
    ASSERT_TRUE(tenths.TakeResult(*desk.form->Editor()));
    EXPECT_DOUBLE_EQ(3.25, precise);
    tenths.Draw(*desk.form, true);
    EXPECT_EQ("  3.25", FieldText(*desk.form, tenths, 6));

    long bound = 5;
    CIIDigit noFormat(0, 3, 3, &bound, false);
    std::string text = "kept";
    EXPECT_FALSE(noFormat.GetText(text));
}

TEST(InputItem, ANullTimeShowsBlanksAndAnEmptyEditorKeepsItExactlyNull) {
    test::ScopedTimeZone tokyo("Asia/Tokyo");
    FormDesk desk;
    CTime time(3600);  // 1 January 1970: before the 2nd, so no time
    CIITime item(10, 5, &time, false, true);
    EXPECT_EQ(5, item.Width());
    item.Draw(*desk.form, true);
    EXPECT_EQ("     ", FieldText(*desk.form, item, 5));
    std::string text;
    ASSERT_TRUE(item.GetText(text));
    EXPECT_EQ("     ", text);

    ASSERT_TRUE(item.OpenEditor(*desk.form));
    ASSERT_TRUE(item.TakeResult(*desk.form->Editor()));
    EXPECT_EQ(0, time.GetTime()) << "written back as exactly no time";
    EXPECT_FALSE(item.Changed());

    ASSERT_TRUE(item.OpenEditor(*desk.form));
    desk.window.Type("930");
    ASSERT_TRUE(item.TakeResult(*desk.form->Editor()));
    EXPECT_TRUE(item.Changed());
    EXPECT_EQ(9, time.GetHour());
    EXPECT_EQ(30, time.GetMinute());
    item.Draw(*desk.form, true);
    EXPECT_EQ("09:30", FieldText(*desk.form, item, 5));

    // A time that is no time of day leaves the variable as it was.
    const CTime before = time;
    ASSERT_TRUE(item.OpenEditor(*desk.form));
    desk.window.Type("2561");
    EXPECT_FALSE(item.TakeResult(*desk.form->Editor()));
    EXPECT_EQ(before, time);
    EXPECT_FALSE(item.Changed());
}

TEST(InputItem, CancelEditPutsEveryKindOfVariableBack) {
    std::string text = "before";
    char buffer[6] = "abc";
    short s = 1;
    int i = 2;
    long l = 3;
    float f = 4.5F;
    double d = 5.25;
    long long ll = 1LL << 40;
    CTime t(86400 * 400);
    CIIString item(0, 0, 5, nullptr, 0, false, false);
    auto check = [&](auto* variable, auto changedTo, auto* bufferOrNull) {
        const auto original = *variable;
        item.Bind(variable);
        item.SaveValue();
        *variable = changedTo;
        int changed = 7;
        item.CancelEdit(&changed);
        EXPECT_EQ(0, changed);
        EXPECT_EQ(original, *variable);
        (void)bufferOrNull;
    };
    check(&text, std::string("after"), static_cast<void*>(nullptr));
    check(&s, short{-9}, static_cast<void*>(nullptr));
    check(&i, -9, static_cast<void*>(nullptr));
    check(&l, -9L, static_cast<void*>(nullptr));
    check(&f, -9.5F, static_cast<void*>(nullptr));
    check(&d, -9.5, static_cast<void*>(nullptr));
    check(&ll, -9LL, static_cast<void*>(nullptr));
    check(&t, CTime(5), static_cast<void*>(nullptr));

    item.Bind(buffer);
    item.SaveValue();
    std::strcpy(buffer, "xyz12");
    EXPECT_TRUE(item.RestoreValue());
    EXPECT_STREQ("abc", buffer);

    // A time bound afterwards through Bind(CTime*) keeps a backup as well.
    CTime later(86400 * 500);
    CIITime timeItem(0, 0, &t, true, true);
    EXPECT_TRUE(timeItem.HasBackup()) << "the constructor's time has a backup";
    timeItem.Bind(&later);
    EXPECT_TRUE(timeItem.HasBackup());
    timeItem.SaveValue();
    later = CTime(86400 * 600);
    EXPECT_TRUE(timeItem.RestoreValue());
    EXPECT_EQ(86400 * 500, later.GetTime());
}

// Only the typed overloads bind from outside the items, so that no type code can disagree
// with its variable and no binding goes without a backup.
template <typename Item>
concept BindsUntyped = requires(Item& item, void* p) {
    item.BindValue(p, 9);
}
|| requires(Item& item, void* p) {
    item.BindRaw(p, 9);
}
|| requires(Item& item, char* p) {
    item.BindBuffer(p);
};
static_assert(!BindsUntyped<CIIBase> && !BindsUntyped<CIITime> && !BindsUntyped<CIISS_TimeOption> &&
              !BindsUntyped<CIIDbCodeMenu>);

TEST(InputItem, EveryTypedBindingPutsARefusedEditBack) {
    test::ScopedTimeZone tokyo("Asia/Tokyo");
    FormDesk desk;
    CTime time = TimeOfDay(9, 0);
    short s = 1;
    int i = 2;
    long l = 3;
    float f = 4.5F;
    double d = 5.25;
    long long ll = 6;
    std::string text = "ab";
    char buffer[6] = "ab";
    int option = 1;
    long longOption = 2;
    int flag = 5;

    // Bound after construction, as screens bind the row being edited.
    CIITime timeItem(0, 1, nullptr, false, true);
    CIIDigit digit(0, 2, 3, 2, nullptr, false);
    CIIString string(0, 3, 5, nullptr, 0, false, false);
    CIISS_TimeOption day(0, 4, nullptr);
    CIISS_MaruNull maru(0, 5, nullptr);
    auto number = [](auto value) { return std::to_string(value); };
    struct Case {
        const char* what;
        CIIBase& item;
        std::function<void()> bind;
        std::function<std::string()> value;
        const char* typed;  // null: Space, the next entry of a selecter
    };
    const Case cases[] = {
        {"time", timeItem, [&] { timeItem.Bind(&time); }, [&] { return number(time.GetTime()); },
         "1234"},
        {"short", digit, [&] { digit.Bind(&s); }, [&] { return number(s); }, "7"},
        {"int", digit, [&] { digit.Bind(&i); }, [&] { return number(i); }, "7"},
        {"long", digit, [&] { digit.Bind(&l); }, [&] { return number(l); }, "7"},
        {"float", digit, [&] { digit.Bind(&f); }, [&] { return number(f); }, "7.25"},
        {"double", digit, [&] { digit.Bind(&d); }, [&] { return number(d); }, "7.25"},
        {"long long", digit, [&] { digit.Bind(&ll); }, [&] { return number(ll); }, "7"},
        {"text", string, [&] { string.Bind(&text); }, [&] { return text; }, "xyz"},
        {"buffer", string, [&] { string.Bind(buffer); }, [&] { return std::string(buffer); },
         "xyz"},
        {"day option as int", day, [&] { day.Bind(&option); }, [&] { return number(option); },
         nullptr},
        {"day option as long", day, [&] { day.Bind(&longOption); },
         [&] { return number(longOption); }, nullptr},
        {"flag, kept whole", maru, [&] { maru.Bind(&flag); }, [&] { return number(flag); },
         nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.bind();
        const std::string before = c.value();
        ASSERT_TRUE(desk.form->ActivateItem(&c.item));
        if (c.typed != nullptr) {
            desk.window.Type(c.typed);
        } else {
            desk.window.Press(VK_SPACE);
        }
        int changed = 0;
        ASSERT_TRUE(desk.form->TakeCurrentResult(&changed));
        EXPECT_EQ(1, changed);
        EXPECT_NE(before, c.value()) << "the edit was taken";
        EXPECT_TRUE(desk.form->RejectEdit(&changed, false));
        EXPECT_EQ(before, c.value()) << "and refused";
        EXPECT_EQ(0, changed);
        desk.form->CloseEditor();
    }

    // A time that is no time of day is refused the same way.
    ASSERT_TRUE(desk.form->ActivateItem(&timeItem));
    desk.window.Type("2561");
    int changed = 0;
    EXPECT_FALSE(desk.form->TakeCurrentResult(&changed));
    EXPECT_TRUE(desk.form->RejectEdit(&changed, false));
    EXPECT_EQ(9, time.GetHour());
}

TEST(InputItem, SpaceSelectersOpenOnTheVariableAndMapTheirNumbers) {
    FormDesk desk;
    int flag = 5;
    CIISS_MaruNull maru(20, 5, &flag);
    ASSERT_TRUE(maru.OpenEditor(*desk.form));
    EXPECT_EQ(U("○"), FieldText(*desk.form, maru, 2)) << "any non-zero flag opens on ○";
    ASSERT_TRUE(maru.TakeResult(*desk.form->Editor()));
    EXPECT_EQ(1, flag);
    EXPECT_TRUE(maru.Changed()) << "5 became 1";

    int option = 0;
    CIISS_TimeOption day(30, 5, &option);
    const char* shown[] = {"  ", "前", "翌"};
    for (int value = 0; value < 3; ++value) {
        option = value;
        ASSERT_TRUE(day.OpenEditor(*desk.form));
        EXPECT_EQ(U(shown[value]), FieldText(*desk.form, day, 2));
    }
    desk.window.Press(VK_SPACE);
    ASSERT_TRUE(day.TakeResult(*desk.form->Editor()));
    EXPECT_EQ(0, option) << "after 翌 comes the blank";
    EXPECT_TRUE(day.Changed());

    CIISS_MaruNull unbound(20, 7, nullptr);
    EXPECT_FALSE(unbound.OpenEditor(*desk.form));
}

TEST(InputItem, AHighlightSelecterOpensWithoutAVariableAndTakesNothing) {
    FormDesk desk;
    desk.form->PutText("abc", 3, 3, false);
    CIISelecter item(3, 3, 3, false);
    item.m_backColor = RGB(1, 2, 3);
    ASSERT_TRUE(item.OpenEditor(*desk.form));
    EXPECT_EQ(RGB(1, 2, 3), desk.form->CellAt(4, 3)->backColor);
    EXPECT_EQ(RGB(0, 0, 0), desk.form->CellAt(4, 3)->textColor) << "the editor's text colour";
    EXPECT_TRUE(item.TakeResult(*desk.form->Editor()));
    desk.form->CloseEditor();
    EXPECT_EQ(RGB(255, 255, 255), desk.form->CellAt(4, 3)->backColor);
}

TEST(EditorPlacement, APopupGoesBelowItsFieldUnlessItWouldLeaveTheForm) {
    FormDesk desk;  // 80 x 25 cells of 10 x 20 pixels over 800 x 500
    struct Case {
        const char* what;
        int itemX, itemY, width, height;
        bool placed;
        CRect rect;
    };
    const Case cases[] = {
        {"below the field", 10, 3, 120, 100, true, {100, 80, 220, 180}},
        {"above it at the bottom", 10, 20, 120, 100, true, {100, 300, 220, 400}},
        {"moved left at the right edge", 75, 3, 120, 100, true, {680, 80, 800, 180}},
        {"the last row: above", 0, 24, 50, 60, true, {0, 420, 50, 480}},
        {"fits neither below nor above", 10, 10, 50, 300, false, {}},
        {"wider than the form", 0, 0, 900, 20, false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EditorPlacement p;
        p.itemX = c.itemX;
        p.itemY = c.itemY;
        p.itemWidth = 4;
        p.width = c.width;
        p.height = c.height;
        p.placeNext = true;
        CRect rect;
        EXPECT_EQ(c.placed, PlaceEditorRect(*desk.form, p, rect));
        if (c.placed) {
            EXPECT_EQ(c.rect, rect);
        }
    }
    // In thousandths of the form: 100 x 200 of 1000 is 80 x 100 pixels.
    EditorPlacement scaled;
    scaled.itemX = 0;
    scaled.itemY = 0;
    scaled.width = 100;
    scaled.height = 200;
    scaled.scale = 1000;
    scaled.placeNext = true;
    CRect rect;
    ASSERT_TRUE(PlaceEditorRect(*desk.form, scaled, rect));
    EXPECT_EQ((CRect{0, 20, 80, 120}), rect);
}

class CodeMenuItem : public ::testing::Test {
  protected:
    CodeMenuItem() : m_db(test::Engine::SQLite) {}

    // A list of four rows below its field: two-digit codes, names of eight cells.
    CIIDbCodeMenu::Setup Menu(int* code, const char* table, std::string* name = nullptr) {
        return {.popupWidth = 150,
                .popupHeight = 300,
                .value = code,
                .database = &m_db.Connection(),
                .table = table,
                .menuRows = 4,
                .codeDigits = 2,
                .nameWidth = 8,
                .nameOut = name};
    }

    test::TestDatabase m_db;
};

TEST_F(CodeMenuItem, ACodeNotInTheListOpensOnTheFirstEntryAndStoresItsCode) {
    FormDesk desk;
    int code = 9;
    std::string name = "stale";
    CIIDbCodeMenu item(Menu(&code, "[dbo].[Qm丸め]", &name));
    item.AttachTo(10, 3, 2);
    item.Draw(*desk.form, true);
    EXPECT_EQ("09", FieldText(*desk.form, item, 2)) << "the code zero-padded to its digits";

    ASSERT_TRUE(item.OpenEditor(*desk.form));
    auto* menu = dynamic_cast<CCRWMCodeName*>(desk.form->Editor());
    ASSERT_NE(nullptr, menu);
    EXPECT_TRUE(desk.form->lastPlacement.placeNext);
    EXPECT_EQ(desk.form->RowToY(4), menu->GetRect().top) << "below the field";
    EXPECT_EQ(0, menu->GetCurrentIndex());
    EXPECT_EQ(RGB(200, 230, 250), desk.form->CellAt(10, 3)->backColor) << "the field is marked";
    const int first = menu->GetCurrentCode();

    desk.window.Press(VK_RETURN);
    ASSERT_TRUE(item.TakeResult(*menu));
    EXPECT_EQ(first, code);
    EXPECT_TRUE(item.Changed());
    EXPECT_EQ(menu->GetEntryText(0), name);

    std::string looked;
    EXPECT_EQ(1, item.LookupName(3, &looked));
    EXPECT_EQ("四捨五入", looked);
    EXPECT_EQ(0, item.LookupName(99, &looked));
    EXPECT_EQ("", looked);
    EXPECT_EQ(0, item.LookupName(1LL << 40, &looked)) << "beyond any code";
}

TEST_F(CodeMenuItem, AListThatCannotBeReadDoesNotOpenAndIsToldOnce) {
    FormDesk desk;
    test::RecordingSink sink(m_db.Connection().Database());
    int code = 1;
    CIIDbCodeMenu item(Menu(&code, "[dbo].[Qmない]"));
    item.AttachTo(10, 3, 2);
    EXPECT_FALSE(item.OpenEditor(*desk.form));
    EXPECT_EQ(nullptr, desk.form->Editor());
    EXPECT_EQ(1u, sink.messages.size());
    EXPECT_EQ(1, code);
}

TEST_F(CodeMenuItem, AnEmptyListTakesNothing) {
    FormDesk desk;
    int code = 4;
    CIIDbCodeMenu::Setup setup = Menu(&code, "[dbo].[Qm丸め]");
    setup.extraFilter = "[code]>100";
    CIIDbCodeMenu item(setup);
    item.AttachTo(10, 3, 2);
    ASSERT_TRUE(item.OpenEditor(*desk.form));
    EXPECT_FALSE(item.TakeResult(*desk.form->Editor()));
    EXPECT_EQ(4, code);
    EXPECT_FALSE(item.Changed());
}

}  // namespace
}  // namespace tokeiya
