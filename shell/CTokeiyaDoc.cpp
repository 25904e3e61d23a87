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
#include "shell/CLoginDlg.hpp"
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
    Message(e.DriverMessage());
}

std::unique_ptr<CConnection> CTokeiyaDoc::OpenConnection(std::string connect, bool askFirst) {
    ConnectionForm form = ConnectionSettings::ToForm(connect);
    bool ask = askFirst;
    for (;;) {
        if (ask) {
            if (m_dialogs == nullptr || !m_dialogs->ShowConnectionDialog(form)) {
                return nullptr;
            }
            form.errorText.clear();
            connect = ConnectionSettings::Build(form, m_computerName);
            ConnectionSettings::SavePassword(form, ConnectionSettings::PasswordFile());
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
            auto connection = std::make_unique<CConnection>(connect);
            if (connection->Dialect().GetEngine() == SqlDialect::Engine::SQLite &&
                !PrepareSqlite(*connection)) {
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
    std::unique_ptr<CConnection> connection = OpenConnection(stored, useStoredConnection == 0);
    if (!connection) {
        Message(text::kDatabaseConnectFailed);
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
    m_loginId = loginId;
    m_profile.WriteProfileString(
        "DATABASE", "Connection",
        ConnectionSettings::ForStorage(m_db->RequestedConnect(), m_db->GetConnect()));
    m_context.defaultLunchMinutes = m_loggedInUser.nLunchMin;
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

void CTokeiyaDoc::EndSession() {
    if (!m_db) {
        return;
    }
    try {
        if (m_loginId != 0) {
            CTLogin(*m_db).RecordLogout(m_loginId);
        }
    } catch (const CDBException& e) {
        ReportDatabaseError(e);
    }
    // Leaving is clocking out; the user is the one logged in now (after a reconnection,
    // already the newly verified one).
    if (m_profile.GetProfileInt("OPTIN", "SetTimeTo", 0) != 0) {
        try {
            CTTimeCard(*m_db).StampDeparture(m_loggedInUser);
        } catch (const CDBException& e) {
            ReportDatabaseError(e);
        }
    }
    m_db->Close();
    m_db.reset();
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

int CTokeiyaDoc::LookupName(const std::string& source, int code, std::string& name) const {
    return tokeiya::LookupName(m_db.get(), source, code, name);
}

std::string CTokeiyaDoc::GetTitleText() const {
    return std::string(text::kTitleFormat) + m_loggedInUser.strUserName;
}

}  // namespace tokeiya
