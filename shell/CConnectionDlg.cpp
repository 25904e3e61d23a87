#include "shell/CConnectionDlg.hpp"

#include <array>

#include "platform/Cp932.hpp"
#include "platform/PortText.hpp"

namespace tokeiya {
namespace {

struct EngineEntry {
    DbEngine engine;
    const char* name;
    const char* portHint;
};

// The order of the engine choice.
constexpr std::array<EngineEntry, 3> kEngines{{
    {DbEngine::SQLite, "SQLite", ""},
    {DbEngine::PostgreSQL, "PostgreSQL", "既定 (5432)"},
    {DbEngine::SqlServer, "SQL Server", "既定 (1433)"},
}};

int EngineIndex(DbEngine engine) {
    for (size_t i = 0; i < kEngines.size(); ++i) {
        if (kEngines[i].engine == engine) {
            return static_cast<int>(i);
        }
    }
    return 0;
}

}  // namespace

CConnectionDlg::CConnectionDlg(const ConnectionForm& form) : CDialogModel("データベース接続") {
    DialogField engine = MakeField(kEngine, FieldKind::Choice, "データベースの種類");
    for (const EngineEntry& choice : kEngines) {
        engine.choices.push_back(choice.name);
    }
    engine.choice = EngineIndex(form.engine);
    Add(std::move(engine));

    DialogField file = MakeField(kFile, FieldKind::File, "データベースファイル", form.file);
    file.chooser = FileChooserHint{
        "データベースファイルの選択", "SQLite データベース", {"*.db", "*.sqlite", "*.sqlite3"}};
    Add(std::move(file));
    Add(MakeField(kServer, FieldKind::Text, "サーバー", form.server));
    DialogField port = MakeField(kPort, FieldKind::Text, "ポート", PortText(form.port));
    port.latinOnly = true;
    Add(std::move(port));
    Add(MakeField(kDatabase, FieldKind::Text, "データベース名", form.database));
    Add(MakeField(kUser, FieldKind::Text, "ユーザー名", form.user));
    Add(MakeField(kPassword, FieldKind::Password, "パスワード", form.password));
    SetNotice(form.errorText);
    ApplyEngine();
    SetInitialFocus(form.engine == DbEngine::SQLite ? kFile : kServer);
}

int CConnectionDlg::EngineChoice(DbEngine engine) {
    return EngineIndex(engine);
}

bool CConnectionDlg::Run(IDialogs& dialogs, ConnectionForm& form) {
    CConnectionDlg dialog(form);
    if (!dialogs.RunDialog(dialog)) {
        return false;
    }
    std::string errorText = std::move(form.errorText);
    form = dialog.Form();
    form.errorText = std::move(errorText);
    return true;
}

DbEngine CConnectionDlg::SelectedEngine() const {
    int index = Field(kEngine).choice;
    return index >= 0 && index < static_cast<int>(kEngines.size()) ? kEngines[index].engine
                                                                   : DbEngine::SQLite;
}

ConnectionForm CConnectionDlg::Form() const {
    ConnectionForm form;
    form.engine = SelectedEngine();
    form.file = Field(kFile).text;
    form.server = Field(kServer).text;
    form.port = ParsePortText(cp932::ToUtf8(Field(kPort).text)).value_or(0);
    form.database = Field(kDatabase).text;
    form.user = Field(kUser).text;
    form.password = Field(kPassword).text;
    return form;
}

void CConnectionDlg::OnChanged(int id) {
    if (id == kEngine) {
        ApplyEngine();
    }
}

void CConnectionDlg::ApplyEngine() {
    const DbEngine engine = SelectedEngine();
    const bool sqlite = engine == DbEngine::SQLite;
    Field(kFile).enabled = sqlite;
    for (int id : {kServer, kPort, kDatabase, kUser, kPassword}) {
        Field(id).enabled = !sqlite;
    }
    Field(kPort).placeholder = kEngines[EngineIndex(engine)].portHint;
    // The database of a SQL Server installation is called Tokeiya unless said otherwise.
    if (engine == DbEngine::SqlServer && Field(kDatabase).text.empty()) {
        Field(kDatabase).text = "Tokeiya";
    }
}

std::optional<DialogRejection> CConnectionDlg::CheckInput() {
    if (SelectedEngine() == DbEngine::SQLite) {
        if (Field(kFile).text.empty()) {
            return DialogRejection{kFile, "データベースファイルを指定してください。"};
        }
        return std::nullopt;
    }
    if (!ParsePortText(cp932::ToUtf8(Field(kPort).text))) {
        return DialogRejection{kPort, "ポートは空欄 (既定) か 1～65535 の数字で入力してください。"};
    }
    return std::nullopt;
}

}  // namespace tokeiya
