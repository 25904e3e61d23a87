#pragma once

#include <string>

#include "widgets/CIIBase.hpp"

namespace tokeiya {

// A time-of-day field ("hh:mm" or "hh:mm:ss"), edited in a time editor. Its time is bound
// with a backup, whether given to the constructor or bound later, so that a refused time
// can be put back.
class CIITime : public CIIBase {
  public:
    CIITime(int x, int y, CTime* value, bool withSeconds, bool selectAllOnOpen);

    bool OpenEditor(IEditorForm& form) override;
    // The typed time of day replaces the variable's; an empty editor gives no time. A time
    // that cannot be read puts the old value back and returns false.
    bool TakeResult(CCRWin& editor) override;
    // The time through m_format; m_nullText for no time; nothing without a format.
    bool GetText(std::string& text) const override;
    // The width follows from the seconds alone.
    void SetPosSize(int x, int y, int width) override;

    bool WithSeconds() const { return m_withSeconds; }

  private:
    CTime* Time() const;

    bool m_withSeconds;
    bool m_selectAllOnOpen;
};

}  // namespace tokeiya
