#pragma once

#include <memory>
#include <string>

#include "data/CConnection.hpp"
#include "widgets/CCRWTBase.hpp"
#include "widgets/CCRWTDigit.hpp"
#include "widgets/CIIPopupMenu.hpp"

namespace tokeiya {

// A code field whose list comes from a master table or view (columns code and name), read
// afresh each time the list opens. The chosen name can go to a second variable.
class CIIDbCodeMenu : public CIIPopupMenu {
  public:
    static constexpr int kScale = 1000;

    // What the field is made of, by name, e.g.
    // CIIDbCodeMenu({.popupWidth = 250, .popupHeight = 360, .value = &code, ...}). Every
    // field has an initializer, so that a designated list may leave any of them out.
    struct Setup {
        // Where the list opens: -1 next to the field once attached, else at (popupX,
        // popupY); all four in thousandths of the form's size (see CIIPopupMenu).
        int popupX = -1;
        int popupY = -1;
        int popupWidth = 0;
        int popupHeight = 0;
        int* value = nullptr;  // the code; may be bound later
        CConnection* database = nullptr;
        std::string table{};  // the code list with its [code] and [name] columns
        int menuRows = 0;     // rows the list shows at once
        int codeDigits = 0;
        int nameWidth = 0;               // cells of the name column
        std::string* nameOut = nullptr;  // receives the chosen code's name; may be null
        std::string extraFilter{};       // a further condition on the list's rows
    };

    explicit CIIDbCodeMenu(Setup setup);
    // The code zero-padded to its digits, once attached.
    bool GetText(std::string& text) const override;
    // The code, as a popup menu takes it, and its name into the name variable.
    bool TakeResult(CCRWin& editor) override;
    // The list of the table's codes; null when the query fails (the connection has told
    // the user).
    std::unique_ptr<CCRWMenuBase> CreateMenu(IEditorForm& form, const CRect& rect) override;

    // The name of the code typed in an editor, or of `code`: 1 and the name when the list
    // has it, else 0 with the name cleared.
    virtual int LookupName(CCRWTBase& editor, std::string* name);
    virtual int LookupName(CCRWTDigit& editor, std::string* name);
    virtual int LookupName(long long code, std::string* name);

    // A further condition on the list's rows (bracketed names), set by the screen.
    std::string m_extraFilter;

  private:
    CConnection* m_database;
    std::string m_table;
    int m_menuRows;
    int m_codeDigits;
    int m_nameWidth;
    std::string* m_nameOut;
};

}  // namespace tokeiya
