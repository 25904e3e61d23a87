#pragma once

#include <string>
#include <vector>

#include "data/CRecordBase.hpp"

namespace tokeiya {

// One line of a code list: a code and its name; value is 0 for lines read from the database.
struct CCodeName {
    int code = 0;
    std::string name;
    int value = 0;
};

// The code and name columns of a code list (a master table or one of the Qm views), read in
// code order. The set lives for one query.
class CCodeNameSet : public CRecordBase {
  public:
    // `table` is written with bracketed names, e.g. "[dbo].[Qm丸め]"; an empty column name
    // means "[code]" or "[name]".
    CCodeNameSet(CConnection& connection, std::string table, std::string codeColumn = "",
                 std::string nameColumn = "");

    // Every row that passes `filter` (bracketed names, `?` marks taking `params`), in code
    // order, replacing what `out` holds. False when the query fails; `out` is then kept and
    // the connection has told its user.
    [[nodiscard]] bool Load(std::vector<CCodeName>& out, const std::string& filter = "",
                            std::vector<DbValue> params = {});

    // The name of `code` among the rows that also pass `extraFilter` (whose `?` marks take
    // `extraParams`). 1 when found (a NULL name gives an empty one); 0 with an empty name
    // otherwise, a failed query included.
    [[nodiscard]] int FindName(int code, const std::string& extraFilter, std::string& name,
                               std::vector<DbValue> extraParams = {});

    int m_code = 0;
    std::string m_name;  // NULL reads as empty

  protected:
    std::string GetDefaultSQL() const override { return m_table; }
    void DoFieldExchange(CFieldExchange& fx) override;
    void SetFieldDefaults() override;

  private:
    [[nodiscard]] bool OpenWith(std::string filter, std::vector<DbValue> params);

    std::string m_table;
    std::string m_codeColumn;
    std::string m_nameColumn;
};

}  // namespace tokeiya
