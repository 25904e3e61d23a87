#pragma once

#include "platform/DialogModel.hpp"
#include "platform/Dialogs.hpp"
#include "shell/ConnectionForm.hpp"

namespace tokeiya {

// The connection dialog "データベース接続": the engine, and either the SQLite file or the
// server, port, database and account. Only the fields of the chosen engine can be edited.
class CConnectionDlg : public CDialogModel {
  public:
    static constexpr int kEngine = 1;
    static constexpr int kFile = 2;
    static constexpr int kServer = 3;
    static constexpr int kPort = 4;
    static constexpr int kDatabase = 5;
    static constexpr int kUser = 6;
    static constexpr int kPassword = 7;

    explicit CConnectionDlg(const ConnectionForm& form);

    // Shows the dialog for `form`; on OK the input is written back (errorText as given).
    static bool Run(IDialogs& dialogs, ConnectionForm& form);

    // The input as a form; the port is 0 when its text is not a port.
    ConnectionForm Form() const;
    DbEngine SelectedEngine() const;
    // The index of an engine among the choices.
    static int EngineChoice(DbEngine engine);

  protected:
    void OnChanged(int id) override;
    std::optional<DialogRejection> CheckInput() override;

  private:
    void ApplyEngine();
};

}  // namespace tokeiya
