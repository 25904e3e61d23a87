#pragma once

#include <string>

#include "data/CRecordBase.hpp"

namespace tokeiya {

// The login records [dbo].[TLogIn]: one row per user and computer, holding the last login
// and logout times. The server assigns idLogin.
class CTLogin : public CRecordBase {
  public:
    explicit CTLogin(CConnection& connection);

    // Stamps the login time into the user's row for this computer, creating the row the
    // first time. Returns its idLogin, or 0 on failure.
    [[nodiscard]] int RecordLogin(int userId, const std::string& computerName);
    // Stamps the logout time into the row; 1 when done, 0 when the row cannot be found.
    [[nodiscard]] int RecordLogout(int loginId);
    // The same with the time the session ended (a logout kept while the database was away).
    [[nodiscard]] int RecordLogout(int loginId, const CTime& at);

    int m_idLogin;
    int m_idUser;
    std::string m_strPCName;
    CTime m_dateLogin;
    CTime m_dateLogout;

  protected:
    std::string GetDefaultSQL() const override { return "[dbo].[TLogIn]"; }
    void DoFieldExchange(CFieldExchange& fx) override;
    void SetFieldDefaults() override;
    bool KeyAssignedByServer() const override { return true; }
};

}  // namespace tokeiya
