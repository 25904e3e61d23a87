#pragma once

#include "engine/CDosWinView.hpp"
#include "platform/win/IMainWindow.hpp"
#include "shell/IScreenFactory.hpp"
#include "shell/WorkContext.hpp"

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
    // The screen is about to be left (another screen, the window closing): the open edit is
    // stored. False when its value was refused; the screen then shows why and stays.
    virtual bool LeaveEdit() = 0;
    // The user is leaving the screen, its edit stored: rows it could not store yet are
    // named, with the choice to go back to them (false: the screen stays).
    virtual bool ConfirmLeave() = 0;
};

// The main window's view: builds the work screens from the screen table, keeps what they
// hand on to one another (the work context) and the caption, and runs the minute timer that
// checks alarms and refreshes the schedule screens.
class CTokeiyaView : public CDosWinView {
  public:
    static constexpr win::UINT kMinuteTimer = 13;
    static constexpr win::UINT kMinuteMs = 60000;

    // `screens` is the table the work screens are built from (none without it); not owned.
    CTokeiyaView(win::IMainWindow& window, CTokeiyaDoc& doc, IScreenFactory* screens = nullptr);
    ~CTokeiyaView() override;

    // The framework's first update: the month schedule and the minute timer.
    void OnInitialUpdate();
    void UpdateTitle();

    // The code comes from the screen-switch message. An id the table does not build is
    // refused and the current screen stays.
    bool CreateScreen(int code) override;
    using CDosWinView::SetScreen;
    bool SetScreen(ScreenId id) { return SetScreen(ScreenCode(id)); }
    // Whether the table builds `id`.
    bool CanCreateScreen(ScreenId id) const;
    // Tells the screen, when it listens, that the option dialog changed the options.
    void OnOptionsChanged();
    bool OnMenuCommand(win::UINT id) override;
    // Stores the current screen's open edit before it is replaced or the window closes.
    // False when the screen refused the value: the user stays where they are.
    bool LeaveEdit();
    // LeaveEdit, then the screen's own question about rows it could not store yet: what
    // the user's own ways out of a screen ask. False when the user stays.
    bool LeaveScreen();

    // The screen shown; the month schedule until the first one is built.
    ScreenId CurrentScreen() const {
        return m_current != nullptr ? m_current->id : ScreenId::MonthSchedule;
    }
    WorkContext& Work() { return m_work; }
    const WorkContext& Work() const { return m_work; }
    CTokeiyaDoc& Document() const { return m_doc; }
    win::IMainWindow& MainWindow() const { return m_mainWindow; }

  protected:
    bool OnTimer(win::UINT id) override;
    void OnDestroy() override;

  private:
    void ChangeConnection();
    // kMinuteMs, unless $TOKEIYA_MINUTE_TIMER_MS asks for a shorter one (100 ms at least).
    static win::UINT MinuteTimerPeriod();

    win::IMainWindow& m_mainWindow;
    CTokeiyaDoc& m_doc;
    IScreenFactory* m_screens;
    const ScreenEntry* m_current = nullptr;  // the table's row of the screen shown
    WorkContext m_work;
    IWorkScreenHooks* m_screenHooks = nullptr;  // the current screen's, when it has them
    bool m_timerRunning = false;
};

}  // namespace tokeiya
