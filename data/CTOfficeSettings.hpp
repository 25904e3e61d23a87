#pragma once

#include "data/CRecordBase.hpp"

namespace tokeiya {

// The office-wide settings, one row that every computer reads alike.
struct OfficeSettings {
    static constexpr int kDefaultGapMinutes = 30;
    int nGapMin = kDefaultGapMinutes;  // minutes a PC's activity may lie outside the card
    bool lastExit = false;             // the last exit of a day is the departure, not the first
};

// The office settings row [dbo].[T事業所設定] (idOffice 1).
class CTOfficeSettings : public CRecordBase {
  public:
    explicit CTOfficeSettings(CConnection& connection);

    // The stored settings; the defaults (and 0) when the row cannot be read.
    [[nodiscard]] int Load(OfficeSettings& settings);
    // Stores what differs from `asRead`. 0 when the row cannot be read.
    [[nodiscard]] int Save(const OfficeSettings& settings, const OfficeSettings& asRead);

    int m_idOffice;
    int m_nGapMin;
    int m_typeDeparture;

  protected:
    std::string GetDefaultSQL() const override { return "[dbo].[T事業所設定]"; }
    void DoFieldExchange(CFieldExchange& fx) override;
    void SetFieldDefaults() override;

  private:
    [[nodiscard]] bool OpenRow();
};

}  // namespace tokeiya
