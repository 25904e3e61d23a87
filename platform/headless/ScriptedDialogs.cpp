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

void CScriptedDialogs::RunMainWindow(const std::string& title, std::function<void()>) {
    m_mainWindowTitles.push_back(title);
    if (m_inMainWindow) {
        m_inMainWindow();
    }
}

}  // namespace tokeiya
