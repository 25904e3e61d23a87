#include "data/CTOfficeSettings.hpp"

namespace tokeiya {

CTOfficeSettings::CTOfficeSettings(CConnection& connection) : CRecordBase(connection) {
    SetFieldDefaults();
}

void CTOfficeSettings::SetFieldDefaults() {
    m_idOffice = 1;
    m_nGapMin = OfficeSettings::kDefaultGapMinutes;
    m_typeDeparture = 0;
}

void CTOfficeSettings::DoFieldExchange(CFieldExchange& fx) {
    fx.Long("[idOffice]", m_idOffice);
    fx.Long("[nGapMin]", m_nGapMin);
    fx.Long("[typeDeparture]", m_typeDeparture);
}

bool CTOfficeSettings::OpenRow() {
    Close();
    m_strFilter = "[idOffice]=1";
    m_params.clear();
    return Open() && !IsEOF();
}

int CTOfficeSettings::Load(OfficeSettings& settings) {
    settings = OfficeSettings{};
    if (!OpenRow()) {
        return 0;
    }
    settings.nGapMin = m_nGapMin;
    settings.lastExit = m_typeDeparture == 1;
    return 1;
}

int CTOfficeSettings::Save(const OfficeSettings& settings, const OfficeSettings& asRead) {
    if (!OpenRow()) {
        return 0;
    }
    EditAsRead([&] {
        m_nGapMin = asRead.nGapMin;
        m_typeDeparture = asRead.lastExit ? 1 : 0;
    });
    m_nGapMin = settings.nGapMin;
    m_typeDeparture = settings.lastExit ? 1 : 0;
    Update();
    return 1;
}

}  // namespace tokeiya
