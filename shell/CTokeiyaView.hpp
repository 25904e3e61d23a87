#pragma once

#include "engine/CDosWinView.hpp"
#include "platform/win/IMainWindow.hpp"

namespace tokeiya {

class CTokeiyaDoc;

// The main window's view: builds the work screen of a screen code, keeps the caption, and
// runs the minute timer that checks alarms and refreshes the schedule screens.
class CTokeiyaView : public CDosWinView {
  public:
    static constexpr win::UINT kMinuteTimer = 13;
    static constexpr win::UINT kMinuteMs = 60000;

    CTokeiyaView(win::IMainWindow& window, CTokeiyaDoc& doc);
    ~CTokeiyaView() override;

    // The framework's first update: the screen's start and the minute timer.
    void OnInitialUpdate();
    void UpdateTitle();

    bool CreateScreen(int code) override;
    bool OnMenuCommand(win::UINT id) override;

    int ScreenCode() const { return m_screenCode; }
    CTokeiyaDoc& Document() const { return m_doc; }

  protected:
    bool OnTimer(win::UINT id) override;
    void OnDestroy() override;

  private:
    void ChangeConnection();

    win::IMainWindow& m_mainWindow;
    CTokeiyaDoc& m_doc;
    int m_screenCode = 0;
    bool m_timerRunning = false;
};

}  // namespace tokeiya
