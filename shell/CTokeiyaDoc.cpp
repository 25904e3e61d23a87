#include "shell/CTokeiyaDoc.hpp"

#include <cstdio>

#include "data/CSchemaSetup.hpp"
#include "data/CTLogin.hpp"
#include "data/CTTimeCard.hpp"
#include "data/CTUser.hpp"
#include "platform/Cp932.hpp"
#include "platform/PrivateKeyFile.hpp"
#include "shell/AppText.hpp"
#include "shell/CConnectionDlg.hpp"
#include "shell/CLoginDlg.hpp"
#include "shell/CPasswordChange.hpp"
#include "shell/CRememberedLogin.hpp"
#include "shell/CSessionEndWriter.hpp"
#include "shell/ConnectionSettings.hpp"

namespace tokeiya {

CTokeiyaDoc::CTokeiyaDoc(CProfileStore& profile, IDialogs& dialogs, std::string computerName,
                         CAppContext& context)
    : m_profile(profile),
      m_dialogs(&dialogs),
      m_context(context),
      m_computerName(std::move(computerName)),
      m_alarms(std::make_unique<CAlarmService>(profile, dialogs)) {
    if (m_computerName.empty()) {
        m_computerName = "UNKNOWN";
    }
}

CTokeiyaDoc::~CTokeiyaDoc() {
    CTokeiyaDoc::EndSession();
}

bool CTokeiyaDoc::Create() {
    return Connect(true);
}

void CTokeiyaDoc::Message(const std::string& text) {
    if (m_dialogs != nullptr) {
        m_dialogs->MessageBox(text, MessageButtons::Ok);
    } else {
        std::fprintf(stderr, "%s\n", cp932::ToUtf8(text).c_str());
    }
}

bool CTokeiyaDoc::RunOnConnection(const std::string& notice, const std::function<void()>& work) {
    if (m_dialogs == nullptr) {
        return false;
    }
    m_connectionLent = true;
    try {
        m_dialogs->RunBusy(notice, work);
    } catch (...) {
        m_connectionLent = false;
        throw;
    }
    m_connectionLent = false;
    return true;
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

std::unique_ptr<CConnection> CTokeiyaDoc::OpenConnection(std::string connect, bool askFirst) {
    ConnectionForm form = ConnectionSettings::ToForm(connect);
    bool ask = askFirst;
    for (;;) {
        if (ask) {
            // Without a display nobody can pick another connection: that is a failure. A
            // cancelled dialog is the user's choice and needs no message.
            if (m_dialogs == nullptr) {
                Message(form.errorText.empty()
                            ? std::string(text::kDatabaseConnectFailed)
                            : std::string(text::kDatabaseConnectFailed) + "\n" + form.errorText);
                return nullptr;
            }
            if (!CConnectionDlg::Run(*m_dialogs, form)) {
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
                // The driver would create a missing file readable by everyone (and not its
                // folder); the database holds everyone's pay, so it is made private first.
                // An empty file is a new database to SQLite, and its journals take its mode.
                CreatePrivateFile(cp932::ToUtf8(ConnectionSettings::SqliteFile(connect)));
            }
            // A stored SQL Server connection gets its password from where it was kept.
            std::string opening = connect;
            if (ConnectionSettings::IsSqlServer(connect)) {
                opening = ConnectionSettings::WithServerPassword(connect, ServerPasswords());
            }
            auto connection = std::make_unique<CConnection>(opening);
            if (!PrepareSchema(*connection)) {
                return nullptr;
            }
            return connection;
        } catch (const CDBException& e) {
            form.errorText = e.DriverMessage();
            ask = true;
        }
    }
}

bool CTokeiyaDoc::PrepareSchema(CConnection& connection) {
    try {
        CSchemaSetup setup(connection, m_passwordHash);
        const int version = setup.CurrentVersion();
        // Read by this copy, a newer schema could look like something it is not (a
        // password column left empty looks like empty passwords).
        if (version > setup.LatestVersion()) {
            Message(text::kDatabaseNewer);
            return false;
        }
        if (version < setup.LatestVersion()) {
            // A server's schema is the administrator's to upgrade, with tokeiya-dbsetup.
            if (connection.Dialect().GetEngine() != SqlDialect::Engine::SQLite) {
                Message(text::kDatabaseOlder);
                return false;
            }
            setup.Upgrade();
        }
        return true;
    } catch (const CDBException& e) {
        Message(std::string(text::kDatabaseCreateFailed) + "\n" + e.DriverMessage());
        return false;
    }
}

bool CTokeiyaDoc::Connect(bool useStoredConnection) {
    std::string stored = m_profile.GetProfileString("DATABASE", "Connection",
                                                    ConnectionSettings::DefaultConnectString());
    std::unique_ptr<CConnection> connection = OpenConnection(stored, !useStoredConnection);
    if (!connection) {
        // Either told already, once, or the user cancelled the dialog.
        return false;
    }
    // The session in force stays whole (user, login row, connection) until the new one has
    // its login recorded: its logout and departure belong to its own user and database.
    CUser verified;
    if (!LogIn(*connection, verified)) {
        Message(text::kLoginParametersFailed);
        return false;
    }
    int loginId = 0;
    try {
        loginId = CTLogin(*connection).RecordLogin(verified.idUser, m_computerName);
    } catch (const CDBException& e) {
        ReportDatabaseError(e);
    }
    if (loginId == 0) {
        Message(text::kLoginFailed);
        return false;
    }
    // A span that cannot be opened is told; the login stands without it.
    const int64_t span = BeginSpan(*connection, verified.idUser);
    EndSession();
    m_spanId = span;
    m_endHow = ActivityEnd::Exit;
    m_loggedInUser = verified;
    m_db = std::move(connection);
    m_db->Database().SetErrorSink(this);
    m_loginId = loginId;
    m_profile.WriteProfileString(
        "DATABASE", "Connection",
        ConnectionSettings::ForStorage(m_db->RequestedConnect(), m_db->GetConnect()));
    WriteKeptSessionEnds();
    // The administration account is installed without a password: anyone could use it
    // until one is set, so each of its logins asks for one (the user may put it off).
    if (m_loggedInUser.idUser == 0 && m_loggedInUser.strPasswordHash.empty()) {
        static_cast<void>(CPasswordChange(*this).Run(text::kAdministratorPasswordEmpty));
    }
    if (m_profile.GetProfileInt("OPTIN", "SetTimeForm", 0) != 0) {
        try {
            // A stamp whose read failed has been told through the connection's sink, which
            // is this document now; the login stands without it.
            static_cast<void>(
                CTTimeCard(*m_db, ChangeBy(ChangeHow::LoginStamp)).StampArrival(m_loggedInUser));
        } catch (const CDBException& e) {
            ReportDatabaseError(e);
        }
    }
    m_alarms->SetQueryUser(m_loggedInUser.idUser);
    static_cast<void>(ReloadAlarm());
    return true;
}

int CTokeiyaDoc::ReloadAlarm() {
    return m_alarms->Reload(m_db.get(), m_context.alarmAll);
}

void CTokeiyaDoc::CheckAlarm(win::IHostWindow& speaker) {
    m_alarms->Check(m_db.get(), m_context.alarmAll, speaker);
}

bool CTokeiyaDoc::LogIn(CConnection& connection, CUser& verified) {
    if (m_dialogs == nullptr) {
        return false;
    }
    CRememberedLogin remembered(m_profile, LoginPasswords());
    CLoginDlg dialog(m_profile, *m_dialogs, remembered);
    CTUser user(connection, CTUser::Mode::View);
    for (int attempt = 0;;) {
        bool silent = attempt == 0 && dialog.m_flgNotView != 0;
        if (!silent && !dialog.DoModal()) {
            return false;
        }
        const CTUser::Login result =
            user.VerifyLogin(dialog.m_strUserName, dialog.m_strPassword, verified);
        if (result == CTUser::Login::Verified) {
            dialog.SaveValues();
            return true;
        }
        if (++attempt > 5) {
            Message(text::kAskAdministrator);
            return false;
        }
        if (result == CTUser::Login::Unreadable) {
            std::string message = text::kDatabaseError;
            if (user.LastOpenError()) {
                message += "\n" + user.LastOpenError()->DriverMessage();
            }
            Message(message);
            return false;
        }
        Message(result == CTUser::Login::UnknownUser ? text::kWrongUserName
                : result == CTUser::Login::Retired   ? text::kRetiredUser
                                                     : text::kWrongPassword);
    }
}

std::string CTokeiyaDoc::PasswordFile() const {
    return m_profile.Beside("Tokeiya-passwords");
}

IServerPasswords& CTokeiyaDoc::LoginPasswords() {
    if (!m_loginPasswords) {
        m_loginPasswords = ServerPasswordsForDesktop(SecretKind::LoginPassword, PasswordFile());
    }
    return *m_loginPasswords;
}

IServerPasswords& CTokeiyaDoc::ServerPasswords() {
    if (!m_serverPasswords) {
        m_serverPasswords = ServerPasswordsForDesktop(SecretKind::ServerPassword, PasswordFile());
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
    record.lunchMinutes = m_loggedInUser.nLunchMin;
    record.spanId = m_spanId;
    record.endHow = static_cast<int>(m_endHow);
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

bool CTokeiyaDoc::PauseActivity(ActivityEnd how) {
    if (!m_db || m_spanId == 0) {
        return true;
    }
    try {
        CTPcActivity(*m_db).End(m_spanId, m_loggedInUser.idUser, m_computerName,
                                CTime::GetCurrentTime(), how);
    } catch (const CDBException& e) {
        ReportDatabaseError(e);
        return false;
    }
    m_spanId = 0;
    return true;
}

int64_t CTokeiyaDoc::BeginSpan(CConnection& connection, int userId) {
    const int64_t span = CTPcActivity::NewSpanId();
    try {
        CTPcActivity(connection).Begin(span, userId, m_computerName, CTime::GetCurrentTime());
    } catch (const CDBException& e) {
        ReportDatabaseError(e);
        return 0;
    }
    return span;
}

bool CTokeiyaDoc::ResumeActivity() {
    if (!m_db || m_spanId != 0) {
        return true;
    }
    m_spanId = BeginSpan(*m_db, m_loggedInUser.idUser);
    return m_spanId != 0;
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
            CSessionEndWriter::WriteNow(*m_db, record, true);
        } catch (const CDBException& e) {
            ReportDatabaseError(e);
            return;  // kept for the next login
        }
        journal.Remove(entry);
    }
}

void CTokeiyaDoc::UpdateLoggedInUser(const CUser& edited,
                                     const std::optional<std::string>& newPassword) {
    if (edited.idUser != m_loggedInUser.idUser) {
        return;
    }
    const std::string oldName = m_loggedInUser.strUserName;
    m_loggedInUser = edited;
    CRememberedLogin(m_profile, LoginPasswords()).Follow(oldName, edited.strUserName, newPassword);
}

bool CTokeiyaDoc::StoreLoggedInUser(const CUser& edited,
                                    const std::optional<std::string>& newPassword) {
    if (!m_db) {
        return false;
    }
    CUser stored = edited;
    try {
        // The copy read at login tells what the dialog changed: the rest of the row may have
        // been changed by an administrator since, and stays as stored.
        if (CTUser(*m_db, CTUser::Mode::Table).Save(stored, &m_loggedInUser) == 0) {
            Message(std::string(text::kDatabaseError) + "\n" + text::kUserRowMissing);
            return false;
        }
    } catch (const CDBException& e) {
        ReportDatabaseError(e);
        return false;
    }
    UpdateLoggedInUser(stored, newPassword);
    return true;
}

std::string CTokeiyaDoc::GetTitleText() const {
    return std::string(text::kTitleFormat) + m_loggedInUser.strUserName;
}

}  // namespace tokeiya
