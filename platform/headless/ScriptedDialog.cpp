#include "platform/headless/ScriptedDialog.hpp"

#include "platform/Cp932.hpp"

namespace tokeiya {

CScriptedDialog::CScriptedDialog(CDialogModel& model,
                                 std::function<void(const std::string&)> onMisuse)
    : m_model(model), m_onMisuse(std::move(onMisuse)), m_focus(model.InitialFocus()) {}

bool CScriptedDialog::CanTouch(int id, const char* action) {
    std::string problem;
    const DialogField* field = m_model.Find(id);
    if (m_closed) {
        problem = "the dialog is closed";
    } else if (field == nullptr) {
        problem = "no field " + std::to_string(id);
    } else if (!field->enabled) {
        problem =
            "field " + std::to_string(id) + " (" + cp932::ToUtf8(field->label) + ") is disabled";
    }
    if (problem.empty()) {
        m_focus = id;
        return true;
    }
    if (m_onMisuse) {
        m_onMisuse(std::string(action) + " in \"" + cp932::ToUtf8(m_model.Caption()) +
                   "\": " + problem);
    }
    return false;
}

void CScriptedDialog::Type(int id, const std::string& cp932) {
    if (CanTouch(id, "typing") && !m_model.SetText(id, cp932) && m_onMisuse) {
        m_onMisuse("field " + std::to_string(id) + " takes no text");
    }
}

void CScriptedDialog::TypeUtf8(int id, std::string_view utf8) {
    if (CanTouch(id, "typing") && !m_model.SetTypedText(id, utf8) && m_onMisuse) {
        m_onMisuse("field " + std::to_string(id) + " takes no text");
    }
}

void CScriptedDialog::Check(int id, bool checked) {
    if (CanTouch(id, "ticking") && !m_model.SetChecked(id, checked) && m_onMisuse) {
        m_onMisuse("field " + std::to_string(id) + " is no check box");
    }
}

void CScriptedDialog::Choose(int id, int index) {
    if (CanTouch(id, "choosing") && !m_model.SetChoice(id, index) && m_onMisuse) {
        m_onMisuse("field " + std::to_string(id) + " has no choice " + std::to_string(index));
    }
}

bool CScriptedDialog::PressOk() {
    if (m_closed) {
        if (m_onMisuse) {
            m_onMisuse("OK pressed on a closed dialog");
        }
        return false;
    }
    if (std::optional<DialogRejection> rejection = m_model.Validate()) {
        m_refusals.push_back(rejection->message);
        m_focus = rejection->fieldId;
        return false;
    }
    m_closed = true;
    m_accepted = true;
    return true;
}

void CScriptedDialog::PressCancel() {
    m_closed = true;
}

}  // namespace tokeiya
