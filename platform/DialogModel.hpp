#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A modal dialog as data: its fields, their values and the checks of the data exchange.
// The program's dialogs fill a model; the GTK desktop draws any model and the test desktop
// drives the same model, so the checks run the same way on both.
namespace tokeiya {

enum class FieldKind {
    Text,      // one-line entry
    Password,  // entry that hides what is typed; the input method stays off
    Integer,   // entry of an integer within [minValue, maxValue]; the input method stays off
    CheckBox,  // the label is the box's own text
    Static,    // text shown, not edited
    Choice,    // one of `choices`
    File,      // entry of a file name with a button that opens a file chooser
};

// What a file field's chooser offers (UTF-8 patterns such as "*.db").
struct FileChooserHint {
    std::string title;       // CP932
    std::string filterName;  // CP932
    std::vector<std::string> patterns;
};

// One field of a dialog. Texts are CP932. A field occupies one row: the label, the entry
// and the suffix text after it; a check box or a static text without label spans the row.
struct DialogField {
    int id = 0;  // unique within the dialog
    FieldKind kind = FieldKind::Text;
    std::string label;
    std::string suffix;
    std::string text;  // value of entries and static texts (an integer field holds its text)
    bool checked = false;
    int choice = 0;
    std::vector<std::string> choices;
    int minValue = 0;  // range of an integer field
    int maxValue = 0;
    size_t maxBytes = 0;  // longest text of an entry in CP932 bytes; 0 = no limit
    bool enabled = true;
    std::string placeholder;  // shown in an empty entry
    std::optional<FileChooserHint> chooser;
    // Set when text typed into the field held a character CP932 cannot hold; such a
    // character would be stored as '?' and match any other, so the field is refused.
    bool unencodable = false;

    // Entries whose text goes in without the input method (passwords, numbers, ports).
    bool latinOnly = false;
};

// A field of `kind` with its id, label and text (the value of an entry, or what a static
// text shows); the rest as above. The dialogs start their fields from these.
DialogField MakeField(int id, FieldKind kind, std::string label = {}, std::string text = {});
// An integer field that takes [minValue, maxValue], with `suffix` after the entry.
DialogField MakeIntegerField(int id, std::string label, int minValue, int maxValue,
                             std::string suffix = {});

// Why the input cannot be taken: the field that gets the focus back, and the message.
struct DialogRejection {
    int fieldId = 0;
    std::string message;  // CP932
};

class CDialogModel {
  public:
    explicit CDialogModel(std::string caption);
    virtual ~CDialogModel() = default;
    CDialogModel(const CDialogModel&) = delete;
    CDialogModel& operator=(const CDialogModel&) = delete;

    const std::string& Caption() const { return m_caption; }
    // Text shown above the fields: the failure the dialog is asked again for, or the last
    // refusal. Empty: nothing shown.
    const std::string& Notice() const { return m_notice; }
    void SetNotice(std::string text) { m_notice = std::move(text); }

    // Adds a field at the end; its id must be new. Integer and password fields go in
    // without the input method.
    DialogField& Add(DialogField field);
    const std::vector<DialogField>& Fields() const { return m_fields; }
    // The field of `id`; nullptr when there is none.
    const DialogField* Find(int id) const;
    DialogField* Find(int id);
    // The field of `id`, which must exist.
    const DialogField& Field(int id) const;
    DialogField& Field(int id);

    // The field that has the focus when the dialog opens: the one set, else the first
    // enabled field that can take input.
    int InitialFocus() const;
    void SetInitialFocus(int id);

    // What a person does. The setters change only enabled fields of the matching kind and
    // return whether they did; after a change the dialog's own rules run (OnChanged).
    bool SetText(int id, std::string cp932);
    // Text as a desktop delivers it (UTF-8); what CP932 cannot hold marks the field.
    bool SetTypedText(int id, std::string_view utf8);
    bool SetChecked(int id, bool checked);
    bool SetChoice(int id, int index);

    // The data exchange on OK: each enabled field in order (integers read, ranges and
    // lengths checked, unencodable text refused), then the dialog's own checks. The first
    // failure is returned and also becomes the notice; nothing when the input can be taken.
    std::optional<DialogRejection> Validate();

    // The value of an integer field; 0 when its text is not an integer.
    int IntValue(int id) const;
    void SetIntValue(int id, int value);

    // The data exchange's standard messages.
    static std::string NotAnIntegerMessage();
    static std::string RangeMessage(int minValue, int maxValue);
    static std::string LengthMessage(size_t maxBytes);
    // Reads an integer as the data exchange does: blanks around it, an optional sign,
    // half- or full-width digits; nothing for any other text or one out of int's range.
    static std::optional<int> ParseInteger(std::string_view cp932);

  protected:
    // The dialog's rules after field `id` was changed by the person (enabling, defaults).
    virtual void OnChanged(int id);
    // Checks of the dialog's own after every field passed.
    virtual std::optional<DialogRejection> CheckInput();

  private:
    std::optional<DialogRejection> CheckField(const DialogField& field) const;

    std::string m_caption;
    std::string m_notice;
    std::vector<DialogField> m_fields;
    int m_initialFocus = 0;
    bool m_initialFocusSet = false;
};

}  // namespace tokeiya
