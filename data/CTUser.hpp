#pragma once

#include <string>
#include <vector>

#include "data/CRecordBase.hpp"
#include "data/CUser.hpp"

namespace tokeiya {

// The user records: view mode reads [dbo].[Qユーザー] (users with their group and level
// name), table mode reads and writes [dbo].[Tユーザー].
class CTUser : public CRecordBase {
  public:
    enum class Mode { View, Table };

    CTUser(CConnection& connection, Mode mode);

    Mode GetMode() const { return m_mode; }
    // Changing the mode closes the record set first.
    void SetMode(Mode mode);

    // What a login check found.
    enum class Login {
        Verified,       // `out` holds the user
        UnknownUser,    // no user of that name
        WrongPassword,  // the name exists, the password is not the one hashed
        Retired,        // name and password match a user of level 0, who works here no more
        Unreadable,     // the view could not be read (LastOpenError tells why)
    };
    // Only Verified changes `out`.
    [[nodiscard]] Login VerifyLogin(const std::string& userName, const std::string& password,
                                    CUser& out);
    // Updates the user's row when it has an id or is an administrator, else inserts it under
    // the next free id (written back into `user`). 0 when the row to update is missing.
    // With `asRead`, the row as the caller read it, an update writes only the columns in
    // which `user` differs from it.
    [[nodiscard]] int Save(CUser& user, const CUser* asRead = nullptr);
    // Active users (or the retired ones) of a group, or of every group for -1; never those
    // without a group or of the administration level.
    [[nodiscard]] int LoadList(std::vector<CUser>& list, int groupId, bool retired);
    [[nodiscard]] int LoadById(int userId, CUser& out);
    // Whether a user other than `exceptUserId` (-1: none) has the name `userName`, in `taken`;
    // a login finds its user by name, so no two may share one. False when unreadable.
    [[nodiscard]] bool IsNameTaken(const std::string& userName, int exceptUserId, bool& taken);

    // The current row as a CUser, and back (columns 1 to 12).
    CUser ToUser() const;
    void FromUser(const CUser& user);

    int m_idUser;
    std::string m_strUserName;
    std::string m_strPasswordHash;
    int m_idGroup;
    int m_nLevel;
    float m_fSalary;
    float m_fOvertimePay;
    CTime m_timeFrom;
    CTime m_timeTo;
    int m_nLunchMin;
    int m_nStartUpMin;
    int m_nCoolDownMin;
    std::string m_strGroupName;
    int m_typeSalary;
    int m_typeOvertime;
    int m_nTimePerSalary;
    int m_flgRound;
    int m_nCutoff;
    std::string m_strLevel;

  protected:
    std::string GetDefaultSQL() const override;
    void DoFieldExchange(CFieldExchange& fx) override;
    void SetFieldDefaults() override;

  private:
    Mode m_mode;
};

}  // namespace tokeiya
