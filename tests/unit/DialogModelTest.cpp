#include <gtest/gtest.h>

#include <climits>

#include "platform/DialogModel.hpp"

namespace tokeiya {
namespace {

// A dialog with one field of each kind that takes input, and a rule of its own: ticking the
// box enables the name and fills it.
class SampleDialog : public CDialogModel {
  public:
    static constexpr int kMinutes = 1;
    static constexpr int kName = 2;
    static constexpr int kSecret = 3;
    static constexpr int kBox = 4;
    static constexpr int kNote = 5;

    SampleDialog() : CDialogModel("試験") {
        DialogField note;
        note.id = kNote;
        note.kind = FieldKind::Static;
        note.text = "説明";
        Add(note);
        DialogField minutes;
        minutes.id = kMinutes;
        minutes.kind = FieldKind::Integer;
        minutes.minValue = 0;
        minutes.maxValue = 60;
        minutes.text = "0";
        Add(minutes);
        DialogField name;
        name.id = kName;
        name.label = "名前";
        name.maxBytes = 4;
        name.enabled = false;
        Add(name);
        DialogField secret;
        secret.id = kSecret;
        secret.kind = FieldKind::Password;
        Add(secret);
        DialogField box;
        box.id = kBox;
        box.kind = FieldKind::CheckBox;
        Add(box);
    }

    bool refuseAll = false;

  protected:
    void OnChanged(int id) override {
        if (id == kBox) {
            Field(kName).enabled = Field(kBox).checked;
            Field(kName).text = "初期";
        }
    }
    std::optional<DialogRejection> CheckInput() override {
        if (refuseAll) {
            return DialogRejection{kSecret, "だめ"};
        }
        return std::nullopt;
    }
};

TEST(DialogModel, IntegersAreReadAsTheDataExchangeReadsThem) {
    struct Case {
        const char* text;
        std::optional<int> value;
    };
    const Case cases[] = {
        {"0", 0},
        {" 42 ", 42},
        {"-7", -7},
        {"+7", 7},
        {"０６０", 60},  // full-width digits
        {"2147483647", INT_MAX},
        {"-2147483648", INT_MIN},
        {"2147483648", std::nullopt},
        {"99999999999999999999", std::nullopt},
        {"", std::nullopt},
        {"  ", std::nullopt},
        {"-", std::nullopt},
        {"12a", std::nullopt},
        {"1 2", std::nullopt},
        {"12.5", std::nullopt},
        {"三", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.value, CDialogModel::ParseInteger(c.text)) << "\"" << c.text << "\"";
    }
}

TEST(DialogModel, AnIntegerFieldIsCheckedForNumberThenRange) {
    SampleDialog dialog;
    ASSERT_TRUE(dialog.SetText(SampleDialog::kMinutes, "61"));
    auto refused = dialog.Validate();
    ASSERT_TRUE(refused);
    EXPECT_EQ(SampleDialog::kMinutes, refused->fieldId);
    EXPECT_EQ("0 から 60 までの整数を入力してください。", refused->message);
    EXPECT_EQ(refused->message, dialog.Notice());

    dialog.SetText(SampleDialog::kMinutes, "-1");
    EXPECT_EQ("0 から 60 までの整数を入力してください。", dialog.Validate()->message);
    dialog.SetText(SampleDialog::kMinutes, "x");
    EXPECT_EQ("整数を入力してください。", dialog.Validate()->message);
    dialog.SetText(SampleDialog::kMinutes, "60");
    EXPECT_FALSE(dialog.Validate());
    EXPECT_EQ(60, dialog.IntValue(SampleDialog::kMinutes));
}

TEST(DialogModel, TextLengthsCountCp932Bytes) {
    SampleDialog dialog;
    dialog.SetChecked(SampleDialog::kBox, true);
    ASSERT_TRUE(dialog.SetText(SampleDialog::kName, "あい"));  // four bytes
    EXPECT_FALSE(dialog.Validate());
    dialog.SetText(SampleDialog::kName, "あいa");
    auto refused = dialog.Validate();
    ASSERT_TRUE(refused);
    EXPECT_EQ(SampleDialog::kName, refused->fieldId);
    EXPECT_EQ("4 文字以内で入力してください。", refused->message);
}

TEST(DialogModel, TextCp932CannotHoldIsRefusedWithTheFieldsName) {
    SampleDialog dialog;
    dialog.SetChecked(SampleDialog::kBox, true);
    ASSERT_TRUE(dialog.SetTypedText(SampleDialog::kName, "\xF0\x9F\x98\x80"));  // an emoji
    EXPECT_TRUE(dialog.Field(SampleDialog::kName).unencodable);
    auto refused = dialog.Validate();
    ASSERT_TRUE(refused);
    EXPECT_EQ("名前に使えない文字が含まれています。", refused->message);
    // Typing text it can hold clears the mark.
    dialog.SetTypedText(SampleDialog::kName, "\xE8\x8A\xB1");  // 花 in UTF-8
    EXPECT_EQ("花", dialog.Field(SampleDialog::kName).text);
    EXPECT_FALSE(dialog.Validate());
}

TEST(DialogModel, TheFirstRefusedFieldInOrderWinsAndTheDialogsOwnChecksComeLast) {
    SampleDialog dialog;
    dialog.refuseAll = true;
    dialog.SetText(SampleDialog::kMinutes, "x");
    EXPECT_EQ(SampleDialog::kMinutes, dialog.Validate()->fieldId);
    dialog.SetText(SampleDialog::kMinutes, "1");
    auto refused = dialog.Validate();
    ASSERT_TRUE(refused);
    EXPECT_EQ(SampleDialog::kSecret, refused->fieldId);
    EXPECT_EQ("だめ", refused->message);
}

TEST(DialogModel, DisabledFieldsTakeNoInputAndAreNotChecked) {
    SampleDialog dialog;
    EXPECT_FALSE(dialog.SetText(SampleDialog::kName, "x"));
    EXPECT_FALSE(dialog.SetText(SampleDialog::kNote, "x")) << "a static text is not edited";
    EXPECT_FALSE(dialog.SetChecked(SampleDialog::kMinutes, true)) << "not a check box";
    dialog.Field(SampleDialog::kName).text = "長すぎる名前";
    EXPECT_FALSE(dialog.Validate());

    // The dialog's rule enables it when the box is ticked; then it is checked.
    ASSERT_TRUE(dialog.SetChecked(SampleDialog::kBox, true));
    EXPECT_TRUE(dialog.Field(SampleDialog::kName).enabled);
    EXPECT_EQ("初期", dialog.Field(SampleDialog::kName).text);
}

TEST(DialogModel, FocusStartsOnTheFirstEnabledInputOrWhereTheDialogSays) {
    SampleDialog dialog;
    EXPECT_EQ(SampleDialog::kMinutes, dialog.InitialFocus()) << "not the static text";
    dialog.Field(SampleDialog::kMinutes).enabled = false;
    EXPECT_EQ(SampleDialog::kSecret, dialog.InitialFocus());
    dialog.SetInitialFocus(SampleDialog::kBox);
    EXPECT_EQ(SampleDialog::kBox, dialog.InitialFocus());
}

TEST(DialogModel, PasswordAndIntegerFieldsKeepTheInputMethodOff) {
    SampleDialog dialog;
    EXPECT_TRUE(dialog.Field(SampleDialog::kMinutes).latinOnly);
    EXPECT_TRUE(dialog.Field(SampleDialog::kSecret).latinOnly);
    EXPECT_FALSE(dialog.Field(SampleDialog::kName).latinOnly);
    DialogField again;
    again.id = SampleDialog::kName;
    EXPECT_THROW(dialog.Add(again), std::logic_error);
}

}  // namespace
}  // namespace tokeiya
