#pragma once

#include <string>

#include "platform/DialogModel.hpp"

namespace tokeiya {

// Buttons and answers of a message box; the caption is always the application title.
enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No };

// The modal dialogs of the desktop. The GTK desktop shows real dialogs; the headless one
// answers from a script so that session logic can be tested.
class IDialogs {
  public:
    virtual ~IDialogs() = default;
    virtual MessageAnswer MessageBox(const std::string& text, MessageButtons buttons) = 0;
    // Shows `model` until it is cancelled or closed with OK and input that passed
    // `Validate` (a refused field keeps it open with the focus on that field). True for OK;
    // the model then holds the input.
    virtual bool RunDialog(CDialogModel& model) = 0;
};

}  // namespace tokeiya
