#pragma once

#include "engine/CDosWinView.hpp"
#include "platform/win/IMainWindow.hpp"

namespace tokeiya {

// The main window's frame: sizes the window as a percentage of the desktop, keeps track of
// whether it was maximised, asks the view before closing, and passes everything that
// concerns the client area on to the view.
class CDosWinFrame : public win::IFrameProc {
  public:
    static constexpr double kMaxAspect = 1.41;
    // Zoom percentages a normal (not maximised) window can have; 100 means maximised.
    static constexpr int kMinZoomPercent = 30;
    static constexpr int kMaxNormalZoomPercent = 99;
    // Sizes closer than this, in pixels, are the same size: window managers round.
    static constexpr int kSizeSlack = 2;
    // Posted to the frame's own window: a window the user made wider than the aspect
    // allows is narrowed once the size notice has been handled, not inside it.
    static constexpr win::UINT kFitAspectMessage = win::WM_USER + 701;

    CDosWinFrame() = default;
    ~CDosWinFrame() override = default;
    CDosWinFrame(const CDosWinFrame&) = delete;
    CDosWinFrame& operator=(const CDosWinFrame&) = delete;

    // The window rectangle for a zoom percentage of the maximised desktop size, centred;
    // with keepAspect the width is at most 1.41 times the height.
    static CRect ZoomRect(CSize desktop, int percent, bool keepAspect);
    // The zoom percentage that describes a window of this outer size: the larger of its
    // two proportions of the desktop, so that the zoom rectangle of the result is the
    // window again (to the percent), kept to kMinZoomPercent..kMaxNormalZoomPercent.
    static int PercentForSize(CSize desktop, CSize window);

    // 100 maximises the window; other values size and centre it.
    virtual void SetZoom(int percent);

    // win::IFrameProc
    bool WindowProc(const win::Message& message) override;
    void OnPaint(CDC& dc) override;
    void UpdateCommand(win::UINT id, win::CommandState& state) override;

    int ZoomPercent() const { return m_zoomPercent; }
    bool KeepAspect() const { return m_keepAspect; }
    void SetKeepAspect(bool keep) { m_keepAspect = keep; }
    bool TrackMaximized() const { return m_trackMaximized; }
    bool WasMaximized() const { return m_wasMaximized; }
    bool PreviewMode() const { return m_previewMode; }
    void SetPreviewMode(bool preview) { m_previewMode = preview; }

  protected:
    void SetWindow(win::IMainWindow* window) { m_window = window; }
    void SetView(CDosWinView* view) { m_view = view; }
    win::IMainWindow* Window() const { return m_window; }
    CDosWinView* View() const { return m_view; }

    virtual void OnSize(win::WPARAM kind, int width, int height);
    // The next normal-size notice is the size the zoom gave the window (the platform may
    // have added its own frame to the rectangle asked for): it is taken as the zoom's
    // size, not as a resize by the user.
    void ExpectZoomSize() { m_expectZoomSize = true; }
    // The close button or the exit command, once the view has agreed.
    virtual void OnClose();
    virtual void OnShowWindow(bool shown, int status);
    // The frame's own commands, after the view has passed on them.
    virtual bool OnFrameCommand(win::UINT id);
    virtual void OnUpdateFrameCommand(win::UINT id, win::CommandState& state);
    virtual bool OnOtherMessage(const win::Message& message);

    int m_zoomPercent = 80;
    bool m_keepAspect = true;
    bool m_trackMaximized = false;
    bool m_wasMaximized = false;
    bool m_previewMode = false;

  private:
    // A window the user resized takes the zoom percentage of its new size (so the zoom
    // menu and the stored size tell the truth), and with keepAspect its width goes back
    // to 1.41 times its height.
    void FollowNormalSize(CSize client);
    // The outer size of a client area, as the window frames it.
    CSize OuterSize(CSize client) const {
        return CSize{client.cx + m_chrome.cx, client.cy + m_chrome.cy};
    }
    // Narrows a normal window that is wider than 1.41 times its height (keepAspect on).
    void FitAspect();

    win::IMainWindow* m_window = nullptr;
    CDosWinView* m_view = nullptr;
    bool m_expectZoomSize = false;
    // The client size the current zoom percentage stands for (0 x 0: not known yet), and
    // what the window adds around its client area (menu bar, frame).
    CSize m_zoomClient{};
    CSize m_chrome{};
};

}  // namespace tokeiya
