#include "platform/headless/ScriptedDialogs.hpp"

#include <stdexcept>

#include "platform/Cp932.hpp"

namespace tokeiya {

void CScriptedDialogs::Unexpected(const std::string& what) {
    if (m_unexpected) {
        m_unexpected(what);
    }
}

MessageAnswer CScriptedDialogs::MessageBox(const std::string& text, MessageButtons buttons) {
    m_messages.push_back(text);
    MessageAnswer answer = MessageAnswer::Ok;
    if (!m_messageAnswers.empty()) {
        answer = m_messageAnswers.front();
        m_messageAnswers.pop_front();
    } else if (buttons == MessageButtons::YesNo) {
        Unexpected("unanswered Yes/No box: " + text);
        answer = MessageAnswer::No;
    }
    if (m_onMessageBoxClosed) {
        m_onMessageBoxClosed();
    }
    return answer;
}

bool CScriptedDialogs::AskSaveFile(std::string& path, const std::string& defaultExtension) {
    m_proposedSavePaths.push_back(path);
    if (m_saveFileScripts.empty()) {
        Unexpected("unanswered save-file dialog: " + path);
        return false;
    }
    auto script = std::move(m_saveFileScripts.front());
    m_saveFileScripts.pop_front();
    if (!script(path)) {
        return false;
    }
    path = WithDefaultExtension(path, defaultExtension);
    return true;
}

void CScriptedDialogs::RunBusy(const std::string& notice, const std::function<void()>& work) {
    m_busyNotices.push_back(notice);
    if (m_whileBusy) {
        m_whileBusy();
    }
    work();
}

const DialogField& CScriptedDialogs::ShownDialog::Field(int id) const {
    for (const DialogField& field : fields) {
        if (field.id == id) {
            return field;
        }
    }
    throw std::logic_error("the dialog had no field " + std::to_string(id));
}

std::vector<CScriptedDialogs::ShownDialog> CScriptedDialogs::Shown(
    const std::string& caption) const {
    std::vector<ShownDialog> shown;
    for (const ShownDialog& dialog : m_dialogs) {
        if (dialog.caption == caption) {
            shown.push_back(dialog);
        }
    }
    return shown;
}

bool CScriptedDialogs::RunDialog(CDialogModel& model) {
    const size_t shown = m_dialogs.size();
    m_dialogs.push_back(ShownDialog{model.Caption(), model.Fields(), model.Notice(), {}, false});
    if (m_dialogScripts.empty()) {
        Unexpected("unexpected dialog \"" + cp932::ToUtf8(model.Caption()) + "\"");
        return false;
    }
    DialogScript script = std::move(m_dialogScripts.front());
    m_dialogScripts.pop_front();
    CScriptedDialog dialog(model, [this](const std::string& what) { Unexpected(what); });
    script(dialog);
    m_dialogs[shown].refusals = dialog.Refusals();
    m_dialogs[shown].accepted = dialog.Accepted();
    return dialog.Accepted();
}

namespace {

// The scripted main window: the script acts when the message loop starts, and the desktop
// forgets the window when it goes.
class ScriptedMainWindow : public headless::HeadlessHostWindow {
  public:
    explicit ScriptedMainWindow(CScriptedDialogs& desktop) : m_desktop(desktop) {}
    ~ScriptedMainWindow() override {
        if (m_desktop.m_mainWindow == this) {
            m_desktop.m_mainWindow = nullptr;
        }
    }

    void RunMessageLoop() override {
        m_desktop.m_mainWindowTitles.push_back(Title());
        if (m_desktop.m_inMainWindowHost) {
            m_desktop.m_inMainWindowHost(*this);
        }
        HeadlessHostWindow::RunMessageLoop();
    }

  private:
    CScriptedDialogs& m_desktop;
};

// The desktop forgets its notice window when it goes.
class ScriptedNoticeWindow : public headless::HeadlessNoticeWindow {
  public:
    ScriptedNoticeWindow(CScriptedDialogs& desktop, const std::string& caption)
        : HeadlessNoticeWindow(caption, [&desktop] { return desktop.m_mainWindow; }),
          m_desktop(desktop) {}
    ~ScriptedNoticeWindow() override {
        if (m_desktop.m_noticeWindow == this) {
            m_desktop.m_noticeWindow = nullptr;
        }
    }

  private:
    CScriptedDialogs& m_desktop;
};

}  // namespace

std::unique_ptr<INoticeWindow> CScriptedDialogs::CreateNoticeWindow(const std::string& caption) {
    auto window = std::make_unique<ScriptedNoticeWindow>(*this, caption);
    m_noticeWindow = window.get();
    return window;
}

std::unique_ptr<win::IMainWindow> CScriptedDialogs::CreateMainWindow(win::IFrameProc& proc,
                                                                     std::function<void()>) {
    auto window = std::make_unique<ScriptedMainWindow>(*this);
    window->SetFrameProc(&proc);
    m_mainWindow = window.get();
    if (m_onMainWindowCreated) {
        m_onMainWindowCreated(*window);
    }
    return window;
}

}  // namespace tokeiya
