#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "data/CCodeNameSet.hpp"
#include "widgets/CCRWMNumber.hpp"

namespace tokeiya {

// The pop-up list of a code field: the codes and names of a master table, read afresh each
// time the list opens, with a scroll bar.
class CCRWMCodeName : public CCRWMNumber {
  public:
    CCRWMCodeName(win::IHostWindow* host, const CRect& rect, int edgeWidth, int visibleRows,
                  int codeDigits, int nameWidth);

    void AddEntry(int code, std::string_view name);
    std::string GetEntryText(int index) const override;
    int GetEntryCode(int index) const override;

    const std::vector<CCodeName>& Entries() const { return m_entries; }

  private:
    std::vector<CCodeName> m_entries;
};

}  // namespace tokeiya
