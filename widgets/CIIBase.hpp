#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/CTime.hpp"
#include "widgets/IEditorForm.hpp"

namespace tokeiya {

// The model of one editable field of a work screen: where it stands on the form's grid,
// which program variable it edits, how the variable shows as text, which editor opens when
// the field gets the focus, and how the editor's result goes back into the variable. Items
// never draw or read keys on their own: the form asks them.
//
// The variable is bound through the typed Bind overloads, which record its value type (the
// numbers are shared by every class): 1 std::string, 2 a char buffer of width + 1 bytes,
// 3 short, 4 int, 5 long, 6 float, 7 double, 8 long long, 9 CTime. Every binding keeps a
// backup taken by SaveValue, which CancelEdit puts back, so that a refused edit can always
// be undone: types 1..9 in this class, any other type (-1) in the class that binds it
// through SaveOtherValue and RestoreOtherValue. Variables are never owned.
class CIIBase {
  public:
    enum Kind { kText = 1, kNumber = 2, kTime = 4, kHighlight = 5, kSpaceSelect = 6, kPopup = 8 };

    CIIBase(int kind, int x, int y, int width);
    virtual ~CIIBase();
    CIIBase(const CIIBase&) = delete;
    CIIBase& operator=(const CIIBase&) = delete;

    virtual void Bind(CTime* value) { BindValue(value, 9); }
    virtual void Bind(long long* value) { BindValue(value, 8); }
    virtual void Bind(double* value) { BindValue(value, 7); }
    virtual void Bind(float* value) { BindValue(value, 6); }
    virtual void Bind(long* value) { BindValue(value, 5); }
    virtual void Bind(int* value) { BindValue(value, 4); }
    virtual void Bind(short* value) { BindValue(value, 3); }
    virtual void Bind(char* value) { BindValue(value, 2); }
    virtual void Bind(std::string* value) { BindValue(value, 1); }

    // Opens the item's editor on `form`; false when nothing opened.
    virtual bool OpenEditor(IEditorForm& form) = 0;
    // Writes the editor's result into the variable; false when nothing was taken.
    virtual bool TakeResult(CCRWin& editor) = 0;

    // The value as the field shows it; false when there is nothing to show.
    virtual bool GetText(std::string& text) const;
    // Writes the value over the field's cells (cleared to the form's colours first).
    virtual void Draw(CCRWin& form, bool redraw) const;
    // A mouse region over the field's cells (`width` -1: the field's width).
    virtual void AddHitRegion(CCRWin& form, int id, int subId, int width) const;
    virtual void SaveValue();
    // Puts the saved value back (changedOut, when given, becomes 0); false when there was
    // nothing to put back.
    virtual bool CancelEdit(int* changedOut);
    virtual bool RestoreValue();
    virtual void SaveOtherValue();
    virtual bool RestoreOtherValue();
    virtual void SetPos(int x, int y);
    virtual void SetPosSize(int x, int y, int width);

    int GetKind() const { return m_kind; }
    int X() const { return m_x; }
    int Y() const { return m_y; }
    int Width() const { return m_width; }
    int ValueType() const { return m_valueType; }
    void* Value() const { return m_value; }
    bool Changed() const { return m_changed; }
    bool HasBackup() const { return m_hasBackup; }

    // A printf format for numbers and times, and the text of a null value; screens set them.
    std::string m_format;
    std::string m_nullText;

  protected:
    // Binds an untyped pointer as `type`: types 1..9 with a backup (a buffer through
    // BindBuffer), any other type through BindRaw. Only the typed overloads and the classes
    // that define a type of their own call it, so that the type always fits the variable.
    virtual void BindValue(void* value, int type);
    // Records pointer and type without a backup of this class (a change of type drops the
    // old one); the binding class saves and restores the value itself.
    virtual void BindRaw(void* value, int type);
    // A char buffer of width + 1 bytes, with a backup of that size.
    virtual void BindBuffer(char* buffer);

    // The bound text of types 1 and 2; empty for any other type.
    std::string BoundText() const;
    // Stores text into a type 1 or 2 variable (a buffer takes at most width bytes).
    void StoreText(const std::string& text) const;
    // The bound number of types 3..8 as a floating value; 0 for any other type.
    double BoundNumber() const;
    // The rectangle of an editor over the field's cells (one row, `width` columns), as the
    // form places it; false when those cells are not on the form.
    bool PlaceOnField(IEditorForm& form, int width, CRect& rect) const;

    template <typename T>
    T* ValueAs() const {
        return static_cast<T*>(m_value);
    }
    // The editor a result is taken from, as the kind this item opens; null when it is of
    // another kind or the item has no variable.
    template <typename Editor>
    Editor* EditorToTake(CCRWin& editor) const {
        return m_value == nullptr ? nullptr : dynamic_cast<Editor*>(&editor);
    }
    // A text entry window drawn in the form's editor colours.
    static void UseEditorColors(CCRWin& editor, const IEditorForm& form);

    int m_kind;
    int m_x;
    int m_y;
    int m_width;
    int m_valueType = 0;
    void* m_value = nullptr;
    bool m_changed = false;

  private:
    void DropBackup();
    void MakeBackup(int type);

    bool m_hasBackup = false;
    std::string m_backupText;         // type 1
    std::vector<char> m_backupBytes;  // types 2..9: the variable's bytes
};

}  // namespace tokeiya
