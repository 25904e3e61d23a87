#include "platform/AppContext.hpp"

namespace tokeiya {

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
