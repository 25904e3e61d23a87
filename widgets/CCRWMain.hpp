#pragma once

#include <memory>

#include "engine/CCRWin.hpp"
#include "engine/IFunctionKeyBar.hpp"
#include "widgets/CIIBase.hpp"
#include "widgets/IEditorForm.hpp"

namespace tokeiya {

// The window a work screen is made of: an 80 x 25 grid holding the screen's drawing, one
// current input item with at most one open editor, and the screen's function-key bar. Keys,
// characters, mouse messages, scroll notifications, input-method messages and clipboard
// commands reach the open editor first, then the bar, then the form's own table, whose
// exit keys come back through the host as OnExitKey. The form does not know the order of
// its items: the screen moves between them in its exit-key and function-key handlers.
class CCRWMain : public CCRWin, public IEditorForm {
  public:
    // The speaker's note when an edit is refused.
    static constexpr int kRejectHertz = 4000;
    static constexpr int kRejectMilliseconds = 100;

    explicit CCRWMain(win::IHostWindow* host);
    ~CCRWMain() override;

    // --- What screens call ---
    // Closes any editor, makes `item` current, saves its value and opens its editor; false
    // when none opened (the item stays current).
    bool ActivateItem(CIIBase* item);
    // Forgets the current item and hides and deletes its editor without taking its result.
    void CloseEditor();
    // The current item takes the open editor's result; `changed` tells whether the value
    // changed. False without item (changed untouched) or editor (changed 0).
    bool TakeCurrentResult(int* changed);
    // The current item gets back the value saved when it was activated; with `beep` the
    // speaker sounds first. False without a current item, which then also stays silent.
    bool RejectEdit(int* changed, bool beep);
    // Asks the host for screen `code` after the current message, then hides and closes.
    void SwitchScreen(int code);
    // Runs InitScreen once.
    void EnsureInitialized() override;
    // InitScreen, then shown and activated.
    virtual void Start();
    virtual void InitScreen();
    // The bar this form shows and routes function keys to; the form owns it.
    void SetFunctionMenu(std::unique_ptr<IFunctionKeyBar> bar);
    IFunctionKeyBar* GetFunctionMenu() const { return m_functionMenu.get(); }
    // Hides the form and deletes its editor and bar.
    virtual void DestroyChildren();

    // --- IEditorForm ---
    CCRWin& Cells() override { return *this; }
    bool PlaceEditor(const EditorPlacement& placement, CRect& rect) override;
    COLORREF EditorText() const override { return m_editorText; }
    COLORREF EditorBack() const override { return m_editorBack; }
    void SetActiveEditor(std::unique_ptr<CCRWin> editor) override;

    // --- Input-method notifications the editor did not take ---
    virtual bool OnImeNotify(win::WPARAM wParam, win::LPARAM lParam);
    virtual bool OnImeComposition(win::WPARAM wParam, win::LPARAM lParam);
    virtual bool OnImeStartComposition();
    virtual bool OnImeEndComposition();

    // --- CCRWin ---
    void Draw(CDC& dc) override;
    void SetRect(const CRect& rect) override;
    bool Show(bool shown, bool redraw) override;
    void Activate() override;
    void Deactivate() override;
    void Close() override;
    void CloseAndFree() override;
    bool IsComposing() const override;
    bool OnVScroll(int event, int position, CCRWScrollBar* bar) override;
    bool OnHScroll(int event, int position, CCRWScrollBar* bar) override;
    CCRWScrollBar* FindScrollBarBySerial(win::LPARAM serial) const override;
    bool HasEditTarget() override;
    bool CanCopy() override;
    bool CanPaste() override;
    void EditCopy() override;
    void EditPaste() override;
    void EditCut() override;
    bool OnUpdateCommand(win::UINT id, win::CommandState& state) override;
    bool OnImeMessage(win::UINT message, win::WPARAM wParam, win::LPARAM lParam) override;
    bool OnMouseMessage(const win::Message& message) override;
    bool OnTimer(win::UINT timerId) override;
    void SetCompositionBar(IFunctionKeyBar* bar) override;
    void SetHost(win::IHostWindow* host) override;
    bool OnChar(const win::Message& message) override;
    bool OnKey(const win::Message& message, bool down) override;

    CIIBase* CurrentItem() const { return m_currentItem; }
    CCRWin* ActiveEditor() const { return m_activeEditor.get(); }
    const EditorPlacement& LastPlacement() const { return m_editorPlacement; }
    bool Composing() const { return m_composing; }
    bool Initialized() const { return m_initialized; }

  private:
    // Hides, closes and deletes the open editor; the current item and placement stay.
    void DiscardEditor();
    // The bar that shows now: the view's composition bar while composing, else the form's.
    IFunctionKeyBar* ShownBar() const;

    std::unique_ptr<CCRWin> m_activeEditor;
    std::unique_ptr<IFunctionKeyBar> m_functionMenu;
    CIIBase* m_currentItem = nullptr;
    EditorPlacement m_editorPlacement;
    bool m_hasPlacement = false;
    COLORREF m_editorText;
    COLORREF m_editorBack;
    bool m_composing = false;
    bool m_initialized = false;
    IFunctionKeyBar* m_compositionBar = nullptr;
};

}  // namespace tokeiya
