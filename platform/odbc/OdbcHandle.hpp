#pragma once

#include <sql.h>
#include <sqlext.h>

#include <string>
#include <utility>

namespace tokeiya::odbc {

// Owns one ODBC handle of the given type and frees it on destruction.
template <SQLSMALLINT Type>
class Handle {
  public:
    Handle() = default;
    // Allocates a handle under `parent`; check with valid().
    explicit Handle(SQLHANDLE parent) { SQLAllocHandle(Type, parent, &m_handle); }
    ~Handle() { reset(); }
    Handle(Handle&& other) noexcept : m_handle(std::exchange(other.m_handle, nullptr)) {}
    Handle& operator=(Handle&& other) noexcept {
        if (this != &other) {
            reset();
            m_handle = std::exchange(other.m_handle, nullptr);
        }
        return *this;
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;

    SQLHANDLE get() const { return m_handle; }
    bool valid() const { return m_handle != SQL_NULL_HANDLE; }
    void reset() {
        if (m_handle != SQL_NULL_HANDLE) {
            SQLFreeHandle(Type, m_handle);
            m_handle = SQL_NULL_HANDLE;
        }
    }

  private:
    SQLHANDLE m_handle = SQL_NULL_HANDLE;
};

using EnvHandle = Handle<SQL_HANDLE_ENV>;
using DbcHandle = Handle<SQL_HANDLE_DBC>;
using StmtHandle = Handle<SQL_HANDLE_STMT>;

// True for SQL_SUCCESS and SQL_SUCCESS_WITH_INFO.
inline bool Succeeded(SQLRETURN rc) {
    return rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO;
}

// Throws CDBException with the diagnostics of `handle` (CP932 message) when rc failed.
void Check(SQLRETURN rc, SQLSMALLINT type, SQLHANDLE handle, const std::string& statement = {});

}  // namespace tokeiya::odbc
