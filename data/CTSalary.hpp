#pragma once

#include <vector>

#include "data/CRecordBase.hpp"
#include "data/CSalary.hpp"

namespace tokeiya {

// The calculated pay per user and month, [dbo].[Q給料] (read only).
class CTSalary : public CRecordBase {
  public:
    explicit CTSalary(CConnection& connection);

    // The month's results of a group, or of every group for -1; the list is emptied first.
    [[nodiscard]] int LoadMonth(int year, int month, int groupId, std::vector<CSalary>& list);
    // One user's result of a month, or an empty CSalary (zeros, empty names) when there is
    // none; 0 only when the query failed.
    [[nodiscard]] int LoadUserMonth(int userId, int year, int month, CSalary& salary);

    CSalary ToSalary() const;

    int m_idSalary;
    int m_idUser;
    int m_idGroup;
    int m_nWorkingMin;
    int m_nOvertimeMin;
    int m_nYear;
    int m_nMonth;
    float m_fSalary;
    float m_fOvertimePay;
    int m_nDays;
    int m_nErr;
    std::string m_strUserName;
    std::string m_strGroupName;
    int m_nCutoff;

  protected:
    std::string GetDefaultSQL() const override { return "[dbo].[Q給料]"; }
    void DoFieldExchange(CFieldExchange& fx) override;
    void SetFieldDefaults() override;
};

}  // namespace tokeiya
