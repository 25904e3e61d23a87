#pragma once

#include <memory>

#include "widgets/CCRWSpaceSelecter.hpp"
#include "widgets/CIIBase.hpp"

namespace tokeiya {

// A field that cycles through a fixed list of texts. Bound to text (types 1, 2) it takes
// the entry's text, bound to an int (type 4) the entry's index; the two kinds below map
// their own numbers.
class CIISpaceSelecter : public CIIBase {
  public:
    // `value` is an int the subclass maps (type -1) until bound otherwise.
    CIISpaceSelecter(int x, int y, int width, int* value);

    bool OpenEditor(IEditorForm& form) override;
    bool TakeResult(CCRWin& editor) override;

    // The selecter over the field, its entries filled.
    virtual std::unique_ptr<CCRWSpaceSelecter> CreateSelecter(IEditorForm& form) = 0;
    // The entry to show first when the binding does not tell.
    virtual int GetInitialIndex() const;

  protected:
    // The int of type -1 has its backup here.
    void SaveOtherValue() override;
    bool RestoreOtherValue() override;
    // Binds the int the subclass maps as type -1; a backup of another variable is dropped.
    void BindMapped(int* value) {
        BindRaw(value, -1);
        m_hasSavedMapped = false;
    }

  private:
    int m_savedMapped = 0;
    bool m_hasSavedMapped = false;
};

// A yes/no flag shown as blank or "○": any non-zero number opens on "○", and the flag
// goes back as 1 or 0.
class CIISS_MaruNull : public CIISpaceSelecter {
  public:
    CIISS_MaruNull(int x, int y, int* flag);

    void Bind(int* flag) override;
    using CIISpaceSelecter::Bind;
    bool TakeResult(CCRWin& editor) override;
    std::unique_ptr<CCRWSpaceSelecter> CreateSelecter(IEditorForm& form) override;
    int GetInitialIndex() const override;
};

// Which day a time belongs to: blank (the day itself), "前" (the day before) or "翌" (the
// day after), as 0, 1 or 2.
class CIISS_TimeOption : public CIISpaceSelecter {
  public:
    CIISS_TimeOption(int x, int y, int* option);

    void Bind(long* option) override;
    using CIISpaceSelecter::Bind;
    bool TakeResult(CCRWin& editor) override;
    std::unique_ptr<CCRWSpaceSelecter> CreateSelecter(IEditorForm& form) override;
    int GetInitialIndex() const override;

  private:
    // The option as bound: an int, or a long bound through Bind(long*).
    long Option() const;
    void SetOption(long option) const;
};

}  // namespace tokeiya
