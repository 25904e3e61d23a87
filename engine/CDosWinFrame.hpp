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

    CDosWinFrame() = default;
    ~CDosWinFrame() override = default;
    CDosWinFrame(const CDosWinFrame&) = delete;
    CDosWinFrame& operator=(const CDosWinFrame&) = delete;

    // The window rectangle for a zoom percentage of the maximised desktop size, centred;
    // with keepAspect the width is at most 1.41 times the height.
    static CRect ZoomRect(CSize desktop, int percent, bool keepAspect);

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
    win::IMainWindow* m_window = nullptr;
    CDosWinView* m_view = nullptr;
};

}  // namespace tokeiya
