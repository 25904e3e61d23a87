#include "shell/CTokeiyaDoc.hpp"

#include <glib.h>

#include <cstdio>
#include <filesystem>

#include "data/CCodeRZ.hpp"
#include "data/CSchemaSetup.hpp"
#include "data/CTLogin.hpp"
#include "data/CTTimeCard.hpp"
#include "data/CTUser.hpp"
#include "data/CVBDBFunc.hpp"
#include "platform/Cp932.hpp"
#include "shell/AppText.hpp"
#include "shell/CConnectionDlg.hpp"
#include "shell/CLoginDlg.hpp"
#include "shell/CSessionEndWriter.hpp"
#include "shell/CSetOptionDlg.hpp"
#include "shell/CSetPwdDlg.hpp"
#include "shell/CTokeiyaView.hpp"
#include "shell/ConnectionSettings.hpp"

namespace tokeiya {

CTokeiyaDoc::CTokeiyaDoc(CProfileStore& profile, IDialogs& dialogs, std::string computerName,
                         CAppContext& context)
    : m_profile(profile),
      m_dialogs(&dialogs),
      m_context(context),
      m_computerName(std::move(computerName)) {
    if (m_computerName.empty()) {
        m_computerName = "UNKNOWN";
    }
}

CTokeiyaDoc::~CTokeiyaDoc() {
    CTokeiyaDoc::EndSession();
}

bool CTokeiyaDoc::Create() {
    if (!Connect(1)) {
        return false;
    }
    CTime today = CTime::GetCurrentTime();
    SetDate(today.GetYear(), today.GetMonth(), today.GetDay());
    return true;
}

void CTokeiyaDoc::SetDate(int year, int month, int day) {
    m_year = year;
    m_month = month;
    m_day = day;
}

void CTokeiyaDoc::Message(const std::string& text) {
    if (m_dialogs != nullptr) {
        m_dialogs->MessageBox(text, MessageButtons::Ok);
    } else {
        std::fprintf(stderr, "%s\n", cp932::ToUtf8(text).c_str());
    }
}

void CTokeiyaDoc::ReportDatabaseError(const CDBException& e) {
    if (e.Reported()) {
        return;
    }
    e.MarkReported();
    Message(std::string(text::kDatabaseError) + "\n" + e.DriverMessage());
}

void CTokeiyaDoc::OnDatabaseError(const CDBException& error) {
    Message(std::string(text::kDatabaseError) + "\n" + error.DriverMessage());
}

std::unique_ptr<CConnection> CTokeiyaDoc::OpenConnection(std::string connect, bool askFirst,
                                                         bool& told) {
    told = false;
    ConnectionForm form = ConnectionSettings::ToForm(connect);
    bool ask = askFirst;
    for (;;) {
        if (ask) {
            if (m_dialogs == nullptr || !CConnectionDlg::Run(*m_dialogs, form)) {
                return nullptr;
            }
            form.errorText.clear();
            connect = ConnectionSettings::Build(form, m_computerName);
            ConnectionSettings::SavePassword(form, ConnectionSettings::PasswordFile());
            if (form.engine == DbEngine::SqlServer) {
                ConnectionSettings::SaveServerPassword(form, ServerPasswords());
            }
        }
        try {
            if (ConnectionSettings::IsSqlite(connect)) {
                // The driver creates a missing file, but not its folder.
                std::string file = cp932::ToUtf8(ConnectionSettings::SqliteFile(connect));
                std::string folder = std::filesystem::path(file).parent_path().string();
                if (!folder.empty()) {
                    g_mkdir_with_parents(folder.c_str(), 0700);
                }
            }
            // A stored SQL Server connection gets its password from where it was kept.
            std::string opening = connect;
            if (ConnectionSettings::IsSqlServer(connect)) {
                opening = ConnectionSettings::WithServerPassword(connect, ServerPasswords());
            }
            auto connection = std::make_unique<CConnection>(opening);
            if (connection->Dialect().GetEngine() == SqlDialect::Engine::SQLite &&
                !PrepareSqlite(*connection)) {
                told = true;
                return nullptr;
            }
            return connection;
        } catch (const CDBException& e) {
            form.errorText = e.DriverMessage();
            ask = true;
        }
    }
}

bool CTokeiyaDoc::PrepareSqlite(CConnection& connection) {
    try {
        CSchemaSetup setup(connection);
        if (setup.CurrentVersion() < setup.LatestVersion()) {
            setup.Upgrade();
        }
        return true;
    } catch (const CDBException& e) {
        Message(std::string(text::kDatabaseCreateFailed) + "\n" + e.DriverMessage());
        return false;
    }
}

int CTokeiyaDoc::Connect(int useStoredConnection) {
    std::string stored = m_profile.GetProfileString("DATABASE", "Connection",
                                                    ConnectionSettings::DefaultConnectString());
    bool told = false;
    std::unique_ptr<CConnection> connection =
        OpenConnection(stored, useStoredConnection == 0, told);
    if (!connection) {
        // A database that could not be created was reported as such: one message.
        if (!told) {
            Message(text::kDatabaseConnectFailed);
        }
        return 0;
    }
    if (!LogIn(*connection)) {
        Message(text::kLoginParametersFailed);
        return 0;
    }
    int loginId = 0;
    try {
        loginId = CTLogin(*connection).RecordLogin(m_loggedInUser.idUser, m_computerName);
    } catch (const CDBException& e) {
        ReportDatabaseError(e);
    }
    if (loginId == 0) {
        Message(text::kLoginFailed);
        return 0;
    }
    EndSession();
    m_db = std::move(connection);
    m_db->Database().SetErrorSink(this);
    m_loginId = loginId;
    m_profile.WriteProfileString(
        "DATABASE", "Connection",
        ConnectionSettings::ForStorage(m_db->RequestedConnect(), m_db->GetConnect()));
    m_context.defaultLunchMinutes = m_loggedInUser.nLunchMin;
    WriteKeptSessionEnds();
    if (m_profile.GetProfileInt("OPTIN", "SetTimeForm", 0) != 0) {
        try {
            CTTimeCard(*m_db).StampArrival(m_loggedInUser);
        } catch (const CDBException& e) {
            ReportDatabaseError(e);
        }
    }
    return 1;
}

int CTokeiyaDoc::LogIn(CConnection& connection) {
    if (m_dialogs == nullptr) {
        return 0;
    }
    CLoginDlg dialog(m_profile, *m_dialogs);
    CTUser user(connection, CTUser::Mode::View);
    for (int attempt = 0;;) {
        bool silent = attempt == 0 && dialog.m_flgNotView != 0;
        if (!silent && !dialog.DoModal()) {
            return 0;
        }
        int result = user.VerifyLogin(dialog.m_strUserName, dialog.m_strPassword, m_loggedInUser);
        if (result == 0) {
            m_context.defaultLunchMinutes = m_loggedInUser.nLunchMin;
            dialog.SaveValues();
            return 1;
        }
        if (++attempt > 5) {
            Message(text::kAskAdministrator);
            return 0;
        }
        switch (result) {
            case 1:
                Message(text::kWrongUserName);
                break;
            case 2:
                Message(text::kWrongPassword);
                break;
            default: {
                std::string message = text::kDatabaseError;
                if (user.LastOpenError()) {
                    message += "\n" + user.LastOpenError()->DriverMessage();
                }
                Message(message);
                return 0;
            }
        }
    }
}

IServerPasswords& CTokeiyaDoc::ServerPasswords() {
    if (!m_serverPasswords) {
        m_serverPasswords = ServerPasswordsForDesktop();
    }
    return *m_serverPasswords;
}

SessionEndRecord CTokeiyaDoc::SessionEndNow() const {
    SessionEndRecord record;
    record.database = ConnectionSettings::Identity(m_db->RequestedConnect());
    record.computer = m_computerName;
    record.userId = m_loggedInUser.idUser;
    record.loginId = m_loginId;
    record.logoutAt = CTime::GetCurrentTime();
    // Leaving is clocking out; the user is the one logged in now (after a reconnection,
    // already the newly verified one).
    record.departure = m_profile.GetProfileInt("OPTIN", "SetTimeTo", 0) != 0;
    record.departureAt = record.logoutAt.AddMinutes(m_loggedInUser.nCoolDownMin);
    record.lunchMinutes = m_context.defaultLunchMinutes;
    return record;
}

void CTokeiyaDoc::EndSession() {
    if (!m_db) {
        return;
    }
    const SessionEndRecord record = SessionEndNow();
    m_db->Database().SetErrorSink(nullptr);
    // Kept before it is written: a crash or a frozen server costs no attendance record.
    std::string entry;
    std::string journalFile = m_context.attendanceJournalFile;
    if (!journalFile.empty()) {
        entry = CAttendanceJournal(journalFile).Add(record);
    }
    const CSessionEndWriter::Result result = CSessionEndWriter::Write(
        std::move(m_db), record, CAttendanceJournal(journalFile), entry, m_sessionEndLimitMs);
    m_db.reset();
    if (result.written) {
        return;
    }
    std::string message = text::kDatabaseError;
    if (!result.errors.empty()) {
        message += "\n" + result.errors.front();
    }
    if (!entry.empty()) {
        message += "\n";
        message += text::kSessionEndKept;
    }
    Message(message);
}

void CTokeiyaDoc::WriteKeptSessionEnds() {
    const std::string& journalFile = m_context.attendanceJournalFile;
    if (journalFile.empty() || !m_db) {
        return;
    }
    CAttendanceJournal journal(journalFile);
    const std::string database = ConnectionSettings::Identity(m_db->RequestedConnect());
    for (const auto& [entry, record] :
         journal.Pending(database, m_computerName, m_loggedInUser.idUser)) {
        try {
            CSessionEndWriter::WriteNow(*m_db, record);
        } catch (const CDBException& e) {
            ReportDatabaseError(e);
            return;  // kept for the next login
        }
        journal.Remove(entry);
    }
}

void CTokeiyaDoc::UpdateLoggedInUser(const CUser& edited) {
    if (edited.idUser != m_loggedInUser.idUser) {
        return;
    }
    m_loggedInUser = edited;
    if (m_profile.GetProfileInt("LOGIN", "SavePwd", 0) == 1) {
        m_profile.WriteProfileString("LOGIN", "User", edited.strUserName);
        m_profile.WriteProfileString("LOGIN", "Password", ScramblePassword(edited.strPassword));
    }
}

bool CTokeiyaDoc::StoreLoggedInUser(const CUser& edited) {
    if (!m_db) {
        return false;
    }
    CUser stored = edited;
    try {
        if (CTUser(*m_db, CTUser::Mode::Table).Save(stored) == 0) {
            Message(std::string(text::kDatabaseError) + "\n" + text::kUserRowMissing);
            return false;
        }
    } catch (const CDBException& e) {
        ReportDatabaseError(e);
        return false;
    }
    m_loggedInUser = stored;
    return true;
}

bool CTokeiyaDoc::OnSetOption() {
    if (m_dialogs == nullptr) {
        return false;
    }
    CSetOptionDlg dialog(m_profile);
    dialog.m_nStartUpMin = m_loggedInUser.nStartUpMin;
    dialog.m_nCoolDownMin = m_loggedInUser.nCoolDownMin;
    dialog.m_nLunchMin = m_loggedInUser.nLunchMin;
    if (!dialog.DoModal(*m_dialogs)) {
        return false;
    }
    dialog.SaveSettings();
    // The minutes belong to the user, so that they follow the user to other computers.
    CUser edited = m_loggedInUser;
    edited.nStartUpMin = dialog.m_nStartUpMin;
    edited.nCoolDownMin = dialog.m_nCoolDownMin;
    edited.nLunchMin = dialog.m_nLunchMin;
    StoreLoggedInUser(edited);
    const bool alarmAll = dialog.m_bAlarmAll != 0;
    if (alarmAll != m_context.alarmAll) {
        m_context.alarmAll = alarmAll;
        ReloadAlarm();
    }
    m_context.defaultLunchMinutes = m_loggedInUser.nLunchMin;
    if (m_view != nullptr) {
        m_view->OnOptionsChanged();
    }
    return true;
}

void CTokeiyaDoc::OnChangePassword() {
    if (m_dialogs == nullptr) {
        return;
    }
    CSetPwdDlg dialog(m_loggedInUser);
    for (int failed = 0;;) {
        if (!dialog.DoModal(*m_dialogs)) {
            return;
        }
        if (dialog.m_strOldPassword != dialog.m_strCurrentPassword) {
            Message(text::kOldPasswordWrong);
        } else if (dialog.m_strNewPassword != dialog.m_strConfirmation) {
            Message(text::kConfirmationDiffers);
        } else {
            break;
        }
        if (++failed >= 5) {
            Message(text::kAskAdministratorForPassword);
            return;
        }
    }
    CUser edited = m_loggedInUser;
    edited.strPassword = dialog.m_strNewPassword;
    if (!StoreLoggedInUser(edited)) {
        return;
    }
    // The remembered password is rewritten only when it is this user's: the administration
    // account, which is never remembered, must not replace another user's password there.
    if (m_profile.GetProfileInt("LOGIN", "SavePwd", 0) == 1 &&
        m_profile.GetProfileString("LOGIN", "User", "") == m_loggedInUser.strUserName) {
        m_profile.WriteProfileString("LOGIN", "Password",
                                     ScramblePassword(m_loggedInUser.strPassword));
    }
    Message(text::kPasswordChanged);
}

int CTokeiyaDoc::LookupName(const std::string& source, int code, std::string& name) const {
    return tokeiya::LookupName(m_db.get(), source, code, name);
}

std::string CTokeiyaDoc::GetTitleText() const {
    return std::string(text::kTitleFormat) + m_loggedInUser.strUserName;
}

}  // namespace tokeiya
