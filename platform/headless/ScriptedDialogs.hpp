#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/Desktop.hpp"
#include "platform/headless/HeadlessHostWindow.hpp"

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
    // A headless window; m_inMainWindowHost runs when its message loop starts.
    std::unique_ptr<win::IMainWindow> CreateMainWindow(
        win::IFrameProc& proc, std::function<void()> onDisplayLost) override;
    void ShowAboutDialog(const std::string&) override { ++m_aboutShown; }

    // What was shown, in order: message texts, and the forms as the dialogs received them.
    std::vector<std::string> m_messages;
    std::vector<LoginForm> m_loginForms;
    std::vector<ConnectionForm> m_connectionForms;
    std::vector<std::string> m_mainWindowTitles;
    // Called with a description when a dialog appears that the script did not expect.
    std::function<void(const std::string&)> m_unexpected;
    // Stands for what the user does in a main window made by CreateMainWindow.
    std::function<void(headless::HeadlessHostWindow&)> m_inMainWindowHost;
    // Runs on each window CreateMainWindow makes, before the program uses it.
    std::function<void(headless::HeadlessHostWindow&)> m_onMainWindowCreated;
    // The last window CreateMainWindow made, while it lives.
    headless::HeadlessHostWindow* m_mainWindow = nullptr;
    int m_aboutShown = 0;

  private:
    void Unexpected(const std::string& what);

    std::deque<MessageAnswer> m_messageAnswers;
    std::deque<LoginAnswer> m_logins;
    std::deque<ConnectionAnswer> m_connections;
};

}  // namespace tokeiya
