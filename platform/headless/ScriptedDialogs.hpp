#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/Desktop.hpp"
#include "platform/headless/HeadlessActivity.hpp"
#include "platform/headless/HeadlessHostWindow.hpp"
#include "platform/headless/HeadlessNoticeWindow.hpp"
#include "platform/headless/ScriptedDialog.hpp"
#include "platform/headless/ScriptedPrinting.hpp"

namespace tokeiya {

// The test desktop's dialogs: every dialog is answered from a script queued beforehand, and
// everything shown is recorded. A dialog shown with nothing queued for it fails the test
// through the `unexpected` callback and is cancelled.
class CScriptedDialogs : public IDesktop {
  public:
    // What the person does in one dialog. A script that neither presses OK nor Cancel leaves
    // the dialog with Escape.
    using DialogScript = std::function<void(CScriptedDialog&)>;

    // A dialog as it was shown: its caption, its fields as they opened and what happened.
    struct ShownDialog {
        std::string caption;
        std::vector<DialogField> fields;
        std::string notice;
        std::vector<std::string> refusals;
        bool accepted = false;

        const DialogField& Field(int id) const;
    };

    // Answers the next message box (Ok for OK boxes unless queued otherwise).
    void QueueMessageAnswer(MessageAnswer answer) { m_messageAnswers.push_back(answer); }
    // Acts in the next dialog, whichever it is; a script may check the caption.
    void QueueDialog(DialogScript script) { m_dialogScripts.push_back(std::move(script)); }
    // Answers the next save-file dialog: the script sees the proposed path and changes it;
    // false cancels.
    void QueueSaveFile(std::function<bool(std::string&)> script) {
        m_saveFileScripts.push_back(std::move(script));
    }
    // The dialogs shown with this caption, in order.
    std::vector<ShownDialog> Shown(const std::string& caption) const;

    MessageAnswer MessageBox(const std::string& text, MessageButtons buttons) override;
    bool RunDialog(CDialogModel& model) override;
    bool AskSaveFile(std::string& path, const std::string& defaultExtension) override;
    // Runs the work at once, on this thread, after m_whileBusy; the notice is recorded.
    void RunBusy(const std::string& notice, const std::function<void()>& work) override;
    // A headless window; m_inMainWindowHost runs when its message loop starts.
    std::unique_ptr<win::IMainWindow> CreateMainWindow(
        win::IFrameProc& proc, std::function<void()> onDisplayLost) override;
    void ShowAboutDialog(const std::string&) override { ++m_aboutShown; }
    // Hears the sleep and lock that the test reports through m_activity.
    std::unique_ptr<IActivityWatch> WatchActivity(const ActivityHandlers& handlers) override {
        return m_activity.Watch(handlers);
    }
    // Its time runs on the clock of the main window the desktop has when it is shown.
    std::unique_ptr<INoticeWindow> CreateNoticeWindow(const std::string& caption) override;
    IPrinting* Printing() override { return m_printers ? &m_printing : nullptr; }

    // The printers; the desktop has none until m_printers is set.
    CScriptedPrinting m_printing;
    bool m_printers = false;

    // The computer's sleep and the screen lock, as the test makes them.
    headless::HeadlessDesktopSignals m_activity;
    // What was shown, in order: message texts, and the dialogs.
    std::vector<std::string> m_messages;
    std::vector<ShownDialog> m_dialogs;
    std::vector<std::string> m_mainWindowTitles;
    std::vector<std::string> m_proposedSavePaths;
    std::vector<std::string> m_busyNotices;
    // Called with a description when a dialog appears that the script did not expect.
    std::function<void(const std::string&)> m_unexpected;
    // Stands for what the user does in a main window made by CreateMainWindow.
    std::function<void(headless::HeadlessHostWindow&)> m_inMainWindowHost;
    // Runs as a message box closes, before its answer returns: what a desktop does then,
    // such as giving the focus back to the main window.
    std::function<void()> m_onMessageBoxClosed;
    // Runs inside RunBusy while the work has not finished: what a desktop's wait loop does
    // meanwhile, such as firing the main window's timers.
    std::function<void()> m_whileBusy;
    // Runs on each window CreateMainWindow makes, before the program uses it.
    std::function<void(headless::HeadlessHostWindow&)> m_onMainWindowCreated;
    // The last window CreateMainWindow made, while it lives.
    headless::HeadlessHostWindow* m_mainWindow = nullptr;
    // The last notice window CreateNoticeWindow made, while it lives.
    headless::HeadlessNoticeWindow* m_noticeWindow = nullptr;
    int m_aboutShown = 0;

  private:
    void Unexpected(const std::string& what);

    std::deque<MessageAnswer> m_messageAnswers;
    std::deque<DialogScript> m_dialogScripts;
    std::deque<std::function<bool(std::string&)>> m_saveFileScripts;
};

}  // namespace tokeiya
