#include "tests/support/DbFaults.hpp"

namespace tokeiya::test {

void ScriptedFaults::FailStatements(std::string fragment, std::string sqlState, int times) {
    m_fragment = std::move(fragment);
    m_state = std::move(sqlState);
    m_statementFailures = times;
}

void ScriptedFaults::FailCommits(int times) {
    m_commitFailures = times;
}

void ScriptedFaults::BeforeStatement(const std::string& sql) {
    statements.push_back(sql);
    if (onStatement) {
        onStatement(sql);
    }
    if (m_statementFailures > 0 && sql.find(m_fragment) != std::string::npos) {
        --m_statementFailures;
        throw CDBException(m_state, kInjectedFailure, sql);
    }
}

void ScriptedFaults::BeforeCommit() {
    if (m_commitFailures > 0) {
        --m_commitFailures;
        throw CDBException("40001", kInjectedFailure, {});
    }
}

}  // namespace tokeiya::test
