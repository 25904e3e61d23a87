#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/DialogModel.hpp"

namespace tokeiya {

// A dialog on the test desktop as a person meets it: fields are typed into, ticked and
// chosen, and OK runs the same checks as on the real desktop. A refused OK keeps the dialog
// open with the focus on the refused field and its message shown.
class CScriptedDialog {
  public:
    // `onMisuse` hears of actions a person could not do (a disabled or missing field, a
    // closed dialog).
    CScriptedDialog(CDialogModel& model, std::function<void(const std::string&)> onMisuse);

    const CDialogModel& Model() const { return m_model; }
    CDialogModel& Model() { return m_model; }
    const std::string& Text(int id) const { return m_model.Field(id).text; }
    bool Checked(int id) const { return m_model.Field(id).checked; }
    bool Enabled(int id) const { return m_model.Field(id).enabled; }
    // The field with the focus: the first one at opening, the refused one after a refusal.
    int Focus() const { return m_focus; }
    // The message above the fields: the notice it opened with, or the last refusal.
    const std::string& Notice() const { return m_model.Notice(); }

    // Replaces the field's text (CP932), as selecting it all and typing does.
    void Type(int id, const std::string& cp932);
    // The same with text as the desktop's input delivers it (UTF-8).
    void TypeUtf8(int id, std::string_view utf8);
    void Check(int id, bool checked);
    void Choose(int id, int index);
    // True when the dialog closed with OK; false when a field was refused.
    bool PressOk();
    void PressCancel();

    bool Closed() const { return m_closed; }
    bool Accepted() const { return m_accepted; }
    // The messages of the refusals, in order.
    const std::vector<std::string>& Refusals() const { return m_refusals; }

  private:
    // Whether the person can act on field `id` now; tells onMisuse when not.
    bool CanTouch(int id, const char* action);

    CDialogModel& m_model;
    std::function<void(const std::string&)> m_onMisuse;
    int m_focus = 0;
    bool m_closed = false;
    bool m_accepted = false;
    std::vector<std::string> m_refusals;
};

}  // namespace tokeiya
