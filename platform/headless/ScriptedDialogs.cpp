#include "platform/headless/ScriptedDialogs.hpp"

namespace tokeiya {

void CScriptedDialogs::QueueLogin(const std::string& userName, const std::string& password) {
    m_logins.push_back([userName, password](LoginForm& form) {
        form.userName = userName;
        form.password = password;
        return true;
    });
}

void CScriptedDialogs::QueueLoginCancel() {
    m_logins.push_back([](LoginForm&) { return false; });
}

void CScriptedDialogs::Unexpected(const std::string& what) {
    if (m_unexpected) {
        m_unexpected(what);
    }
}

MessageAnswer CScriptedDialogs::MessageBox(const std::string& text, MessageButtons buttons) {
    m_messages.push_back(text);
    if (!m_messageAnswers.empty()) {
        MessageAnswer answer = m_messageAnswers.front();
        m_messageAnswers.pop_front();
        return answer;
    }
    if (buttons == MessageButtons::YesNo) {
        Unexpected("unanswered Yes/No box: " + text);
        return MessageAnswer::No;
    }
    return MessageAnswer::Ok;
}

bool CScriptedDialogs::ShowLoginDialog(LoginForm& form) {
    m_loginForms.push_back(form);
    if (m_logins.empty()) {
        Unexpected("unexpected login dialog");
        return false;
    }
    LoginAnswer answer = std::move(m_logins.front());
    m_logins.pop_front();
    return answer(form);
}

bool CScriptedDialogs::ShowConnectionDialog(ConnectionForm& form) {
    m_connectionForms.push_back(form);
    if (m_connections.empty()) {
        Unexpected("unexpected connection dialog");
        return false;
    }
    ConnectionAnswer answer = std::move(m_connections.front());
    m_connections.pop_front();
    return answer(form);
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

}  // namespace

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
