#pragma once

#include <functional>
#include <memory>

#include "engine/CDosWinFrame.hpp"
#include "platform/Desktop.hpp"
#include "platform/ProfileStore.hpp"
#include "shell/CTokeiyaView.hpp"

namespace tokeiya {

class CTokeiyaDoc;

// The main window: menu, notification icon, window state kept in the settings store, and
// the order in which the window goes at the end (hidden and saved, view, frame), before the
// session ends.
class CMainFrame : public CDosWinFrame {
  public:
    static constexpr const char* kTrayTip = "とけい屋";
    // How long a window that starts hidden waits for its icon to be docked before it shows
    // itself after all.
    static constexpr win::UINT kTrayCheckTimer = 14;
    static constexpr win::UINT kTrayCheckMs = 3000;
    // How often the frame looks whether a later start asked for the window.
    static constexpr win::UINT kShowRequestTimer = 15;
    static constexpr win::UINT kShowRequestMs = 500;

    // `screens` builds the work screens (none without it); not owned.
    CMainFrame(IDesktop& desktop, CTokeiyaDoc& doc, CProfileStore& profile,
               IScreenFactory* screens = nullptr);
    ~CMainFrame() override;

    // Creates the window (hidden), its menu, the notification icon and the view.
    // onDisplayLost must end the session by itself: the process exits right after it.
    void Create(std::function<void()> onDisplayLost);
    // Reads the "WINDOW" keys, sizes the window and shows it as it was last left.
    void ShowInitialWindow();
    // Runs until the window has been closed or the desktop session ended.
    void Run();
    void RestoreFromTray();
    void LoadWindowState();
    void SaveWindowState();

    bool WindowProc(const win::Message& message) override;
    void OnPaint(CDC& dc) override;
    void SetFirstPaintHook(std::function<void()> hook) { m_firstPaint = std::move(hook); }
    // `taken` tells whether a later start of the program asked for the window since it was
    // last called; the window is then brought to the front, hidden or minimised as it was.
    // Call after Create.
    void SetShowRequests(std::function<bool()> taken);

    // Whether the window is shown (minimised on a task bar counts; hidden in the
    // notification area or closed does not).
    bool Visible() const;
    bool OpenAtStart() const { return m_open; }
    void SetOpenAtStart(bool open) { m_open = open; }
    bool Closed() const { return m_closed; }
    win::IMainWindow* MainWindow() const { return m_window.get(); }
    CTokeiyaView* GetView() const { return m_view.get(); }

  protected:
    void OnSize(win::WPARAM kind, int width, int height) override;
    void OnClose() override;
    void OnShowWindow(bool shown, int status) override;
    bool OnFrameCommand(win::UINT id) override;
    void OnUpdateFrameCommand(win::UINT id, win::CommandState& state) override;
    bool OnOtherMessage(const win::Message& message) override;

  private:
    // Closes the window without asking the screen.
    void CloseWindow();
    void OnTrayNotify(win::UINT mouseMessage);
    bool TranslateAccelerator(const win::Message& message);

    IDesktop& m_desktop;
    CTokeiyaDoc& m_doc;
    CProfileStore& m_profile;
    IScreenFactory* m_screens;
    std::unique_ptr<win::IMainWindow> m_window;
    std::unique_ptr<CTokeiyaView> m_view;
    bool m_open = true;
    std::function<void()> m_firstPaint;
    std::function<bool()> m_showRequests;
    bool m_closing = false;
    bool m_closed = false;
};

}  // namespace tokeiya
