#pragma once

#include <functional>
#include <string>

#include "platform/CTime.hpp"
#include "shell/CTokeiyaView.hpp"
#include "widgets/CCRWMain.hpp"

namespace tokeiya {

class CConnection;
class CFunctionMenu;

// What every work screen shares: its drawing and function-key labels loaded by name, the
// view it belongs to (the login document and its database through it), and the shared
// work context. It draws nothing of its own and is never shown by itself.
class CCRWA_Tokeiya : public CCRWMain, public IWorkScreenHooks {
  public:
    // An empty name loads nothing: no drawing, or no function-key bar at all.
    CCRWA_Tokeiya(CTokeiyaView& view, const std::string& drawingName, const std::string& menuName);
    ~CCRWA_Tokeiya() override;

    void OnOptionsChanged() override;
    void OnPeriodicRefresh() override;
    // Nothing to store on a screen without edits of its own: any editor is closed.
    bool LeaveEdit() override;
    // Nothing is kept back on a screen that stores every edit as it is taken.
    bool ConfirmLeave() override { return true; }

    CTokeiyaView& View() const { return m_view; }
    CTokeiyaDoc& Document() const { return m_view.Document(); }
    // What the screens hand on to one another, kept by the view.
    WorkContext& Work() const { return m_view.Work(); }
    // Asks the view for screen `id` after the current message; this screen then hides and
    // closes. An id the view does not build is refused before that, and so is leaving when
    // the user chose to go back to a row not stored yet: false, and this screen stays.
    bool SwitchScreen(ScreenId id);
    // The session's database; null without a connection.
    CConnection* Database() const;
    // The screen's bar; null for a screen without one.
    CFunctionMenu* FunctionMenu() const;
    bool OnTimer(win::UINT timerId) override;
    // WM_INPUT_CUT: the open editor was full; told like a refusal.
    bool OnUserMessage(win::UINT message, win::WPARAM wParam, win::LPARAM lParam) override;

    // How long a notice stays on the title line.
    static constexpr int kNoticeMs = 4000;
    // What the title line says now; empty without a notice.
    const std::string& Notice() const { return m_notice; }
    // Shows `text` on the title line, over any notice before it, until kNoticeMs have passed.
    void ShowNotice(const std::string& text);
    // Why no more goes into a field of `bytes` bytes.
    static std::string FullFieldText(int bytes);

    // Key 1's label while other computers changed what the screen shows, and key 6's while
    // the open time editor may take the present time.
    static constexpr const char* kLatestLabel = "最新情報";
    static constexpr const char* kPresentLabel = "現在";

  protected:
    // Labels key `key` (empty: unlabelled) and redraws it when that changes its label.
    void SetKeyLabel(int key, const std::string& label);
    // The minute's look for other computers' changes: key 1 reads kLatestLabel once `newest`
    // reads a stamp later than `known`. Nothing without a database or while it is labelled.
    void LabelNews(const CTime& known, const std::function<CTime(CConnection&)>& newest);
    // Key 6: the present time into the open time editor, only while the key is labelled
    // kPresentLabel. False when nothing was put in.
    bool PutPresentTimeInEditor();
    // Hides the main window; the program goes on in the notification area, or minimised
    // where the desktop shows no notification icon.
    void HideMainWindow();
    // What taking an edit came to.
    enum class Taken { Unchanged, Changed, Refused };
    // The open editor's value into the current item. Unchanged also without an editor.
    // Refused when the editor's text is no valid value: then, with a beep, the value from
    // before the edit is back and the editor open again.
    [[nodiscard]] Taken TakeEdit();
    // Takes the open editor's value, runs `store` when it changed, then `redraw`, and
    // closes the editor. True without an editor; false when the value was refused.
    bool StoreOpenEdit(const std::function<void()>& store, const std::function<void()>& redraw);
    // Why the open editor's text is no value of `item`, told with the refusal.
    virtual std::string InvalidValueText(const CIIBase& item) const;

  private:
    void ClearNotice();
    void StopNoticeTimer();

    CTokeiyaView& m_view;
    std::string m_notice;
    win::UINT m_noticeTimer = 0;  // 0 while no notice shows
};

}  // namespace tokeiya
