#pragma once

#include <functional>
#include <string>

#include "platform/headless/ScriptedDialogs.hpp"
#include "shell/ConnectionForm.hpp"

// What a person does in the session's dialogs, queued on the test desktop.
namespace tokeiya::test {

// The next dialog is the login: these values typed in, the boxes left as they are, OK.
void QueueLogin(CScriptedDialogs& desktop, const std::string& userName,
                const std::string& password);
// The next dialog is the login, acted on by `act`.
void QueueLogin(CScriptedDialogs& desktop, std::function<void(CScriptedDialog&)> act);
void QueueLoginCancel(CScriptedDialogs& desktop);
// The next dialog is the password change that the administration account's login opens
// while its password is empty; the person puts it off (Cancel).
void QueuePasswordPutOff(CScriptedDialogs& desktop);

// The next dialog is the connection dialog: `answer` sees its fields as a form and changes
// what the person changes; the changes are typed in and OK is pressed. False cancels.
void QueueConnection(CScriptedDialogs& desktop, std::function<bool(ConnectionForm&)> answer);

// The login dialogs shown so far.
std::vector<CScriptedDialogs::ShownDialog> ShownLogins(const CScriptedDialogs& desktop);

}  // namespace tokeiya::test
