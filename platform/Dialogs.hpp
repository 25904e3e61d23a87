#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/DialogModel.hpp"
#include "platform/NoticeWindow.hpp"

namespace tokeiya {

class IPrinting;

// Buttons and answers of a message box; the caption is always the application title.
enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No };

// The modal dialogs of the desktop. The GTK desktop shows real dialogs; the headless one
// answers from a script so that session logic can be tested.
// The name of `path` with ".extension" added when the name has no extension.
std::string WithDefaultExtension(const std::string& path, const std::string& extension);

class IDialogs {
  public:
    virtual ~IDialogs() = default;
    virtual MessageAnswer MessageBox(const std::string& text, MessageButtons buttons) = 0;
    // Shows `model` until it is cancelled or closed with OK and input that passed
    // `Validate` (a refused field keeps it open with the focus on that field). True for OK;
    // the model then holds the input.
    virtual bool RunDialog(CDialogModel& model) = 0;
    // The desktop's save-file dialog, opened on `path` (program text: a folder and a proposed
    // name); it asks before an existing file is replaced. True with the chosen path in
    // `path`, which gets `defaultExtension` when the name chosen has none; false when
    // cancelled.
    virtual bool AskSaveFile(std::string& path, const std::string& defaultExtension) = 0;
    // Shows `notice` while `work` runs on a thread of its own, and returns when it is done.
    // The windows keep painting meanwhile and take no input. `work` must not touch them;
    // an exception it throws comes out here.
    virtual void RunBusy(const std::string& notice, const std::function<void()>& work) = 0;
    // A notice window with `caption`, hidden until shown. It stands on its own, not over
    // the main window, so that it is seen while that is hidden in the notification area.
    virtual std::unique_ptr<INoticeWindow> CreateNoticeWindow(const std::string& caption) = 0;
    // The desktop's printers; null where there are none to print on.
    virtual IPrinting* Printing() { return nullptr; }
};

}  // namespace tokeiya
