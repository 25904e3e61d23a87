#pragma once

#include <string>

#include "platform/CTime.hpp"
#include "widgets/CCRWTBase.hpp"

namespace tokeiya {

// The one-row editor of time items: "hh:mm" or "hh:mm:ss" typed with digits, ":" or "."
// (taken for ":"), left-aligned.
class CCRWTTime : public CCRWTBase {
  public:
    CCRWTTime(win::IHostWindow* host, const CRect& rect, bool withSeconds);

    // Shows the time of day of `time` (nothing for an unset time) with the caret at the
    // start, selects everything when asked, keeps the input method out and shows the editor.
    virtual void Start(const CTime& time, bool selectAll);

    // Paste takes a clipboard text of digits, ":" and "." that fits the width; it replaces
    // the whole content.
    bool CanPaste() override;
    void EditPaste() override;

    // Puts the typed time into `var` (see tokeiya::ParseTimeInto); false, and `var` as it
    // was, when the text is no time of day.
    bool ParseTimeInto(CTime& var);

    bool WithSeconds() const { return m_withSeconds; }

  protected:
    // Full-width characters are turned half-width; "." becomes ":", only digits and ":"
    // remain.
    bool FilterChar(std::string& character) override;

  private:
    bool m_withSeconds;
};

}  // namespace tokeiya
