#include "platform/AppContext.hpp"

namespace tokeiya {

void WorkContext::ChooseSalaryMonth(int todayYear, int todayMonth) {
    if (year != 0) {
        return;
    }
    year = todayMonth == 1 ? todayYear - 1 : todayYear;
    month = todayMonth == 1 ? 12 : todayMonth - 1;
}

namespace {

// Everything runs on the UI thread; tests install their scopes there too.
CAppContext* g_current = nullptr;

CAppContext& ProcessContext() {
    static CAppContext context;
    return context;
}

}  // namespace

CAppContext& CAppContext::Current() {
    return g_current != nullptr ? *g_current : ProcessContext();
}

ScopedAppContext::ScopedAppContext() : m_previous(g_current) {
    g_current = &m_context;
}

ScopedAppContext::ScopedAppContext(const CAppContext& context)
    : m_context(context), m_previous(g_current) {
    g_current = &m_context;
}

ScopedAppContext::~ScopedAppContext() {
    g_current = m_previous;
}

}  // namespace tokeiya
