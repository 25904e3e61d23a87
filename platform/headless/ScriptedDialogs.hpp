#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/Desktop.hpp"

namespace tokeiya {

// The test desktop's dialogs: every dialog is answered from a script queued beforehand, and
// everything shown is recorded. A dialog shown with nothing queued for it fails the test
// through the `unexpected` callback and is cancelled.
class CScriptedDialogs : public IDesktop {
  public:
    using LoginAnswer = std::function<bool(LoginForm&)>;
    using ConnectionAnswer = std::function<bool(ConnectionForm&)>;

    // Answers the next message box (Ok for OK boxes unless queued otherwise).
    void QueueMessageAnswer(MessageAnswer answer) { m_messageAnswers.push_back(answer); }
    // The next login dialog: OK with these values typed in, or cancelled.
    void QueueLogin(const std::string& userName, const std::string& password);
    void QueueLoginCancel();
    void QueueLogin(LoginAnswer answer) { m_logins.push_back(std::move(answer)); }
    void QueueConnection(ConnectionAnswer answer) { m_connections.push_back(std::move(answer)); }

    MessageAnswer MessageBox(const std::string& text, MessageButtons buttons) override;
    bool ShowLoginDialog(LoginForm& form) override;
    bool ShowConnectionDialog(ConnectionForm& form) override;
    void RunMainWindow(const std::string& title, std::function<void()> onDisplayLost) override;

    // What was shown, in order: message texts, and the forms as the dialogs received them.
    std::vector<std::string> m_messages;
    std::vector<LoginForm> m_loginForms;
    std::vector<ConnectionForm> m_connectionForms;
    std::vector<std::string> m_mainWindowTitles;
    // Called with a description when a dialog appears that the script did not expect.
    std::function<void(const std::string&)> m_unexpected;
    // Runs inside RunMainWindow, standing for what the user does in the main window.
    std::function<void()> m_inMainWindow;

  private:
    void Unexpected(const std::string& what);

    std::deque<MessageAnswer> m_messageAnswers;
    std::deque<LoginAnswer> m_logins;
    std::deque<ConnectionAnswer> m_connections;
};

}  // namespace tokeiya
