#pragma once

#include "engine/CDosWinView.hpp"
#include "platform/win/IMainWindow.hpp"
#include "shell/IScreenFactory.hpp"

namespace tokeiya {

class CTokeiyaDoc;

// What the view asks of a work screen beyond what every window does.
class IWorkScreenHooks {
  public:
    virtual ~IWorkScreenHooks() = default;
    // The options were changed in the option dialog (new default lunch minutes and so on).
    virtual void OnOptionsChanged() = 0;
    // The view's minute timer fired while a schedule screen shows.
    virtual void OnPeriodicRefresh() = 0;
};

// The main window's view: builds the work screen of a screen code, keeps the caption, and
// runs the minute timer that checks alarms and refreshes the schedule screens.
class CTokeiyaView : public CDosWinView {
  public:
    static constexpr win::UINT kMinuteTimer = 13;
    static constexpr win::UINT kMinuteMs = 60000;

    // `screens` builds the work screens (none without it); not owned.
    CTokeiyaView(win::IMainWindow& window, CTokeiyaDoc& doc, IScreenFactory* screens = nullptr);
    ~CTokeiyaView() override;

    // The framework's first update: the start screen (code 0) and the minute timer.
    void OnInitialUpdate();
    void UpdateTitle();

    bool CreateScreen(int code) override;
    // Whether CreateScreen knows the code.
    bool CanCreateScreen(int code) const;
    // Passes the document's notice on to the work screens below code 100.
    void OnOptionsChanged();
    bool OnMenuCommand(win::UINT id) override;

    int ScreenCode() const { return m_screenCode; }
    CTokeiyaDoc& Document() const { return m_doc; }
    win::IMainWindow& MainWindow() const { return m_mainWindow; }

  protected:
    bool OnTimer(win::UINT id) override;
    void OnDestroy() override;

  private:
    void ChangeConnection();

    win::IMainWindow& m_mainWindow;
    CTokeiyaDoc& m_doc;
    IScreenFactory* m_screens;
    int m_screenCode = 0;
    IWorkScreenHooks* m_screenHooks = nullptr;  // the current screen's, when it has them
    bool m_timerRunning = false;
};

}  // namespace tokeiya
