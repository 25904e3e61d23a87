#include "tests/support/DialogScripts.hpp"

#include <gtest/gtest.h>

#include "platform/Cp932.hpp"
#include "platform/PortText.hpp"
#include "shell/CConnectionDlg.hpp"
#include "shell/CLoginDlg.hpp"

namespace tokeiya::test {
namespace {

constexpr const char* kLoginCaption = "とけい屋ログイン";

bool IsDialog(const CScriptedDialog& dialog, const char* caption) {
    if (dialog.Model().Caption() == caption) {
        return true;
    }
    ADD_FAILURE() << "expected \"" << cp932::ToUtf8(caption) << "\", shown \""
                  << cp932::ToUtf8(dialog.Model().Caption()) << "\"";
    return false;
}

void TypeIfChanged(CScriptedDialog& dialog, int id, const std::string& text) {
    if (dialog.Text(id) != text) {
        dialog.Type(id, text);
    }
}

}  // namespace

void QueueLogin(CScriptedDialogs& desktop, const std::string& userName,
                const std::string& password) {
    desktop.QueueDialog([userName, password](CScriptedDialog& dialog) {
        if (!IsDialog(dialog, kLoginCaption)) {
            return;
        }
        dialog.Type(CLoginDlg::kUserName, userName);
        dialog.Type(CLoginDlg::kPassword, password);
        EXPECT_TRUE(dialog.PressOk()) << cp932::ToUtf8(dialog.Notice());
    });
}

void QueueLogin(CScriptedDialogs& desktop, std::function<void(CScriptedDialog&)> act) {
    desktop.QueueDialog([act = std::move(act)](CScriptedDialog& dialog) {
        if (IsDialog(dialog, kLoginCaption)) {
            act(dialog);
        }
    });
}

void QueueLoginCancel(CScriptedDialogs& desktop) {
    desktop.QueueDialog([](CScriptedDialog& dialog) {
        IsDialog(dialog, kLoginCaption);
        dialog.PressCancel();
    });
}

void QueuePasswordPutOff(CScriptedDialogs& desktop) {
    desktop.QueueDialog([](CScriptedDialog& dialog) {
        if (IsDialog(dialog, "パスワード変更")) {
            dialog.PressCancel();
        }
    });
}

void QueueConnection(CScriptedDialogs& desktop, std::function<bool(ConnectionForm&)> answer) {
    desktop.QueueDialog([answer = std::move(answer)](CScriptedDialog& dialog) {
        auto* connection = dynamic_cast<CConnectionDlg*>(&dialog.Model());
        if (connection == nullptr) {
            ADD_FAILURE() << "expected the connection dialog, shown \""
                          << cp932::ToUtf8(dialog.Model().Caption()) << "\"";
            return;
        }
        ConnectionForm form = connection->Form();
        form.errorText = dialog.Notice();
        if (!answer(form)) {
            dialog.PressCancel();
            return;
        }
        if (form.engine != connection->SelectedEngine()) {
            dialog.Choose(CConnectionDlg::kEngine, CConnectionDlg::EngineChoice(form.engine));
        }
        if (form.engine == DbEngine::SQLite) {
            TypeIfChanged(dialog, CConnectionDlg::kFile, form.file);
        } else {
            TypeIfChanged(dialog, CConnectionDlg::kServer, form.server);
            if (connection->Form().port != form.port) {
                dialog.Type(CConnectionDlg::kPort, PortText(form.port));
            }
            TypeIfChanged(dialog, CConnectionDlg::kDatabase, form.database);
            TypeIfChanged(dialog, CConnectionDlg::kUser, form.user);
            TypeIfChanged(dialog, CConnectionDlg::kPassword, form.password);
        }
        EXPECT_TRUE(dialog.PressOk()) << cp932::ToUtf8(dialog.Notice());
    });
}

std::vector<CScriptedDialogs::ShownDialog> ShownLogins(const CScriptedDialogs& desktop) {
    return desktop.Shown(kLoginCaption);
}

}  // namespace tokeiya::test
