#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine/CDosWinView.hpp"
#include "platform/headless/HeadlessHostWindow.hpp"
#include "widgets/IEditorForm.hpp"
#include "widgets/WidgetColors.hpp"

namespace tokeiya::test {

// A stand-in for a form with one open editor, routing as a form does: keys, characters,
// mouse messages and scroll notifications reach the editor first, then the form's own
// table (the default exit keys); the editor is painted over the form. The exit keys the
// host delivers back are noted. Items open their editors on it as on a form.
class FormStandIn : public CCRWin, public IEditorForm {
  public:
    explicit FormStandIn(win::IHostWindow* host) : CCRWin(host, true) {
        SetExitKeys(nullptr, true);
        SetMouseEnabled(true);
    }

    template <typename Editor, typename... Args>
    Editor& OpenEditor(Args&&... args) {
        CloseEditor();
        auto made = std::make_unique<Editor>(GetHost(), std::forward<Args>(args)...);
        Editor& opened = *made;
        m_editor = std::move(made);
        return opened;
    }
    void CloseEditor() {
        if (m_editor != nullptr) {
            m_editor->Close();
            m_editor.reset();
        }
    }
    CCRWin* Editor() const { return m_editor.get(); }

    CCRWin& Cells() override { return *this; }
    bool PlaceEditor(const EditorPlacement& placement, CRect& rect) override {
        if (!PlaceEditorRect(*this, placement, rect)) {
            return false;
        }
        lastPlacement = placement;
        return true;
    }
    COLORREF EditorText() const override { return EditorColors::Global().text; }
    COLORREF EditorBack() const override { return EditorColors::Global().back; }
    void SetActiveEditor(std::unique_ptr<CCRWin> editor) override {
        CloseEditor();
        m_editor = std::move(editor);
        m_editor->SetHost(GetHost());
        m_editor->Activate();
    }

    void Draw(CDC& dc) override {
        CCRWin::Draw(dc);
        if (m_editor != nullptr) {
            m_editor->Draw(dc);
        }
    }
    bool OnKeyDown(const win::Message& message) override {
        return (m_editor != nullptr && m_editor->OnKeyDown(message)) || CCRWin::OnKeyDown(message);
    }
    bool OnKeyUp(const win::Message& message) override {
        return (m_editor != nullptr && m_editor->OnKeyUp(message)) || CCRWin::OnKeyUp(message);
    }
    bool OnChar(const win::Message& message) override {
        return m_editor != nullptr && m_editor->OnChar(message);
    }
    bool OnMouseMessage(const win::Message& message) override {
        return (m_editor != nullptr && m_editor->OnMouseMessage(message)) ||
               CCRWin::OnMouseMessage(message);
    }
    bool OnVScroll(int event, int position, CCRWScrollBar* bar) override {
        return (m_editor != nullptr && m_editor->OnVScroll(event, position, bar)) ||
               CCRWin::OnVScroll(event, position, bar);
    }
    CCRWScrollBar* FindScrollBarBySerial(win::LPARAM serial) const override {
        if (m_editor != nullptr) {
            if (CCRWScrollBar* bar = m_editor->FindScrollBarBySerial(serial)) {
                return bar;
            }
        }
        return CCRWin::FindScrollBarBySerial(serial);
    }
    bool OnExitKey(int key, int modifiers) override {
        exits.push_back(std::to_string(key) + "/" + std::to_string(modifiers));
        return true;
    }

    std::vector<std::string> exits;
    EditorPlacement lastPlacement;

  private:
    std::unique_ptr<CCRWin> m_editor;
};

// A host view whose screen is the form; it counts the menu-closed notifications.
class FormView : public CDosWinView {
  public:
    using CDosWinView::CDosWinView;

    FormStandIn& Open() {
        auto form = std::make_unique<FormStandIn>(&Window());
        FormStandIn& opened = *form;
        ReplaceScreen(std::move(form));
        opened.SetHost(&Window());
        opened.SetRect(Window().ClientRect());
        opened.Show(true, false);
        return opened;
    }
    void OnPopupClosed() override { ++popupsClosed; }

    int popupsClosed = 0;
};

// The headless desktop (800 x 500) with an 80 x 25 form: cell (c, r) covers pixels
// (10c, 20r) to (10c + 9, 20r + 19).
struct FormDesk {
    headless::HeadlessHostWindow window{800, 500};
    FormView view{window};
    FormStandIn* form = nullptr;

    FormDesk() {
        window.SetProc(&view);
        form = &view.Open();
    }

    static int X(int col) { return 10 * col + 5; }
    static int Y(int row) { return 20 * row + 10; }
};

}  // namespace tokeiya::test
