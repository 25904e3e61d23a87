#include "tests/support/StoredLogin.hpp"

#include "platform/headless/ScriptedDialogs.hpp"
#include "shell/CTokeiyaDoc.hpp"
#include "shell/ConnectionSettings.hpp"

namespace tokeiya::test {

bool PrepareStoredLogin(CProfileStore& profile, const std::string& databaseFile) {
    ConnectionForm form;
    form.file = databaseFile;
    profile.WriteProfileString("DATABASE", "Connection", ConnectionSettings::Build(form, {}));
    profile.WriteProfileInt("LOGIN", "SavePwd", 1);
    profile.WriteProfileInt("LOGIN", "NotViewDialog", 1);
    profile.WriteProfileString("LOGIN", "User", "tokeiya");
    // Its password is empty: nothing to keep beside the name.
    CScriptedDialogs dialogs;
    CTokeiyaDoc first(profile, dialogs, "PC");
    return first.Create();
}

}  // namespace tokeiya::test
