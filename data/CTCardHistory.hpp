#pragma once

#include <optional>
#include <vector>

#include "data/CRecordBase.hpp"
#include "data/CTimeCard.hpp"
#include "data/CardChange.hpp"

namespace tokeiya {

// The correction history [dbo].[T勤怠修正履歴]: one row per store that changed a card's
// times, lunch minutes or option. Rows are only ever added, inside the transaction of the
// card's store, so that a card is never changed without its row nor the reverse.
class CTCardHistory : public CRecordBase {
  public:
    // The text told when the table cannot be written, naming the upgrade command.
    static const char* const kTableMissing;

    explicit CTCardHistory(CConnection& connection);

    // Adds the row of a store of `card` from `before` (none: the card had no row) to
    // `after`; nothing when they are equal. Throws CDBException when the row cannot be
    // added; a table that is missing altogether is told as kTableMissing.
    static void Record(CConnection& connection, const CTimeCard& card,
                       const std::optional<CardValues>& before, const CardValues& after,
                       const ChangeSource& source);

    // The changes of cards whose keys lie in [firstKey, lastKey], oldest first.
    [[nodiscard]] int LoadKeys(int64_t firstKey, int64_t lastKey, std::vector<CCardChange>& out);
    // The changes of every card of a month (only `userId`'s unless 0), oldest first.
    [[nodiscard]] int LoadMonth(int year, int month, std::vector<CCardChange>& out, int userId = 0);

    CCardChange m_row;

  protected:
    std::string GetDefaultSQL() const override { return "[dbo].[T勤怠修正履歴]"; }
    void DoFieldExchange(CFieldExchange& fx) override;
    void SetFieldDefaults() override;

  private:
    [[nodiscard]] int LoadAll(std::vector<CCardChange>& out);
    int m_how = 0;
    int m_newCard = 0;
};

}  // namespace tokeiya
