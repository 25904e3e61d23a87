#pragma once

#include <string>
#include <vector>

#include "data/CConnection.hpp"
#include "platform/odbc/DbValue.hpp"

namespace tokeiya {

// Lookups of single values on a connection it does not own.
class CVBDBFunc {
  public:
    explicit CVBDBFunc(CConnection* connection) : m_connection(connection) {}
    virtual ~CVBDBFunc() = default;

    // The value of `column` (exact, case-sensitive name; the first such column) in the first
    // row of `source` that passes `filter`, whose `?` marks take `params`. 1 when found; 0
    // with `out` NULL when the connection is not open, the query fails, no row passes or
    // no column has that name.
    [[nodiscard]] int DLookup(DbValue& out, const std::string& column, const std::string& source,
                              const std::string& filter, std::vector<DbValue> params = {});

  private:
    CConnection* m_connection;
};

// The name of `code` in a code list ([code] and [name] columns, e.g. [dbo].[Qm丸め]). 1 when
// the code exists (a NULL name gives an empty one); 0 with an empty name otherwise.
int LookupName(CConnection* connection, const std::string& source, int code, std::string& name);

}  // namespace tokeiya
