#pragma once

#include <string>

namespace tokeiya {

// Buttons and answers of a message box; the caption is always the application title.
enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No };

// Values of the login dialog. Texts are CP932.
struct LoginForm {
    std::string userName;
    std::string password;
    bool savePassword = false;  // "ユーザー名とパスワードを保存"
    bool hideDialog = false;  // "次回からこのダイアログを表示しない", only with savePassword
};

// The database engines a connection can name.
enum class DbEngine { SQLite, PostgreSQL, SqlServer };

// Values of the connection dialog that stands in for an ODBC driver's own prompt.
// Texts are CP932; errorText, when not empty, is shown above the fields.
struct ConnectionForm {
    DbEngine engine = DbEngine::SQLite;
    std::string file;  // SQLite database file
    std::string server;
    int port = 0;  // 0: the engine's default port
    std::string database;
    std::string user;
    std::string password;
    std::string errorText;
};

// The modal dialogs of the desktop. The GTK desktop shows real dialogs; the headless one
// answers from a script so that session logic can be tested.
class IDialogs {
  public:
    virtual ~IDialogs() = default;
    virtual MessageAnswer MessageBox(const std::string& text, MessageButtons buttons) = 0;
    // Both return true when the dialog was closed with OK; the form then holds the input.
    virtual bool ShowLoginDialog(LoginForm& form) = 0;
    virtual bool ShowConnectionDialog(ConnectionForm& form) = 0;
};

}  // namespace tokeiya
