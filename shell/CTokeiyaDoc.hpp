#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "data/CConnection.hpp"
#include "data/CPasswordHash.hpp"
#include "data/CTPcActivity.hpp"
#include "data/CUser.hpp"
#include "data/CardChange.hpp"
#include "platform/AppContext.hpp"
#include "platform/Dialogs.hpp"
#include "platform/ProfileStore.hpp"
#include "platform/odbc/DbException.hpp"
#include "shell/CAlarmService.hpp"
#include "shell/CAttendanceJournal.hpp"
#include "shell/ServerPasswords.hpp"

namespace tokeiya {

// The session: the one database connection, the logged-in user and the login row, from the
// login at start-up to the logout at exit. It is where the connection tells its failures.
class CTokeiyaDoc : private IDbErrorSink {
  public:
    // `context` is the application's: where the attendance journal is kept.
    CTokeiyaDoc(CProfileStore& profile, IDialogs& dialogs, std::string computerName,
                CAppContext& context = CAppContext::Current());
    ~CTokeiyaDoc() override;
    CTokeiyaDoc(const CTokeiyaDoc&) = delete;
    CTokeiyaDoc& operator=(const CTokeiyaDoc&) = delete;

    // Connects with the stored connection and logs in; false when that failed (the reason
    // has been shown) and the program must end.
    bool Create();

    // With `useStoredConnection` the stored connection (or the embedded database) is used,
    // asking only when it cannot be opened; without, the connection dialog asks first. The
    // new connection replaces the current one only after its login was verified and
    // recorded. False when it did not (the reason has been shown).
    [[nodiscard]] bool Connect(bool useStoredConnection);
    // Runs the login dialog until a user is verified on `connection` (into `verified`);
    // false when none was. The logged-in user stays as it is.
    [[nodiscard]] bool LogIn(CConnection& connection, CUser& verified);
    // Writes the logout (and the departure, when that stamp is on) of the current
    // connection and closes it. What the database cannot take within the time limit is kept
    // in the attendance journal and written at the next login.
    virtual void EndSession();
    // Why the session is about to end (an exit unless told otherwise), for the activity log.
    void NoteSessionEnd(ActivityEnd how) { m_endHow = how; }
    // The desktop went to sleep or locked the screen: the activity span ends here, and
    // ResumeActivity opens the next one on wake or unlock. False when the database refused
    // (told to the user).
    bool PauseActivity(ActivityEnd how);
    bool ResumeActivity();
    // The span of activity open now; 0 while paused or before the login.
    int64_t ActivitySpan() const { return m_spanId; }
    // How new passwords are hashed (the stored limits unless set).
    void SetPasswordHash(CPasswordHash hash) { m_passwordHash = hash; }
    const CPasswordHash& PasswordHash() const { return m_passwordHash; }
    // How long EndSession waits for the database (10 s).
    void SetSessionEndLimit(int milliseconds) { m_sessionEndLimitMs = milliseconds; }
    // Every minute, from the main window's timer (also while the window is hidden): rings
    // a schedule alarm that has come due, its tone on `speaker`, and chooses the next.
    void CheckAlarm(win::IHostWindow& speaker);
    // Chooses the next alarm afresh, after the login, a change of the alarm options or of
    // a schedule entry. 0 when the alarms could not be read or there are none.
    int ReloadAlarm();

    // Runs `work`, which uses the connection, on a worker thread while the desktop shows
    // `notice` and the windows wait. Without dialogs nothing runs (false).
    bool RunOnConnection(const std::string& notice, const std::function<void()>& work);
    // True while a worker holds the connection: the timers that fire in the meantime must
    // leave it alone.
    bool ConnectionLent() const { return m_connectionLent; }

    // The session's alarms and their notice window.
    CAlarmService& Alarms() const { return *m_alarms; }
    // Takes over a user the user settings stored, when it is the logged-in one;
    // `newPassword` is the password typed for it, if one was. The remembered login
    // follows a rename or a new password when it is this user's.
    void UpdateLoggedInUser(const CUser& edited,
                            const std::optional<std::string>& newPassword = std::nullopt);
    // Stores the fields in which `edited` differs from the logged-in user's copy, and no
    // others; on success `edited` becomes the logged-in user, as UpdateLoggedInUser takes it
    // over. A failure is told to the user and leaves the logged-in user as it was.
    [[nodiscard]] bool StoreLoggedInUser(
        const CUser& edited, const std::optional<std::string>& newPassword = std::nullopt);

    // "とけい屋! <user name>"
    std::string GetTitleText() const;

    CConnection* GetDatabase() const { return m_db.get(); }
    const CUser& GetLoggedInUser() const { return m_loggedInUser; }
    const std::string& GetComputerName() const { return m_computerName; }
    // The logged-in user on this computer, changing cards the way `how` says.
    ChangeSource ChangeBy(ChangeHow how) const {
        return {m_loggedInUser.idUser, m_computerName, how};
    }
    int GetLoginId() const { return m_loginId; }

    // A message to the user, in a message box while there is a display.
    void ShowMessage(const std::string& text) { Message(text); }
    // The program's settings store.
    CProfileStore& Profile() const { return m_profile; }
    // The values the application shares (the alarm setting among them).
    CAppContext& Context() const { return m_context; }
    // The desktop's dialogs; null once DetachDialogs ran.
    IDialogs* Dialogs() const { return m_dialogs; }

    // Shows a database error with the driver's message, unless it was shown already.
    void ReportDatabaseError(const CDBException& e);
    // After this no dialog is shown any more (the display is gone); messages go to stderr.
    void DetachDialogs() { m_dialogs = nullptr; }

  private:
    void OnDatabaseError(const CDBException& error) override;
    void Message(const std::string& text);
    // Writes what the journal kept of this user's earlier sessions on this computer.
    void WriteKeptSessionEnds();
    // Opens a span of PC activity for `userId` on this computer; 0 after a failure was told.
    int64_t BeginSpan(CConnection& connection, int userId);
    SessionEndRecord SessionEndNow() const;
    // Where the remembered login's password is kept: the desktop's secret service, else
    // the private file beside the settings.
    IServerPasswords& LoginPasswords();
    IServerPasswords& ServerPasswords();
    // The private password file used without a secret service.
    std::string PasswordFile() const;
    // Opens `connect`, asking through the connection dialog first when askFirst is set
    // and again after each failure. Null when the user cancelled, or after the failure was
    // told (a database that could not be created, no display to ask on).
    std::unique_ptr<CConnection> OpenConnection(std::string connect, bool askFirst);
    // Creates or upgrades an SQLite database file; refuses a database of a newer version,
    // and a server database not yet upgraded. False (after a message) on failure.
    bool PrepareSchema(CConnection& connection);

    CProfileStore& m_profile;
    IDialogs* m_dialogs;
    CAppContext& m_context;
    std::unique_ptr<CConnection> m_db;
    int m_loginId = 0;
    int64_t m_spanId = 0;
    ActivityEnd m_endHow = ActivityEnd::Exit;
    std::string m_computerName;
    CUser m_loggedInUser;
    int m_sessionEndLimitMs = 10000;
    bool m_connectionLent = false;
    std::unique_ptr<IServerPasswords> m_serverPasswords;
    std::unique_ptr<IServerPasswords> m_loginPasswords;
    CPasswordHash m_passwordHash;
    std::unique_ptr<CAlarmService> m_alarms;
};

}  // namespace tokeiya
