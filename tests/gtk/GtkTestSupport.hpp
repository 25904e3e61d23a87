#pragma once

#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/gtk/GtkDesktop.hpp"
#include "platform/gtk/GtkMainWindow.hpp"
#include "platform/win/IMainWindow.hpp"

namespace tokeiya::gtk::test {

// The argument that makes the test program play the child of the session-end test.
inline constexpr const char* kSessionEndChild = "--session-end-child";
int RunSessionEndChild();

// The one desktop of the test process (it owns the process-wide signal handling).
CGtkDesktop& Desktop();

// A frame proc that records every message and answers as the test tells it.
class RecordingProc : public win::IFrameProc {
  public:
    bool WindowProc(const win::Message& message) override;
    void OnPaint(CDC& dc) override;
    void UpdateCommand(win::UINT id, win::CommandState& state) override;

    std::vector<win::Message> Of(win::UINT message) const;
    size_t Count(win::UINT message) const { return Of(message).size(); }
    // The keyboard messages as "down 65, char 97, up 65" (sysdown/sysup for the system keys).
    std::string KeyTrace() const;

    std::vector<win::Message> messages;
    std::function<bool(const win::Message&)> onMessage;  // the answer; false without one
    std::function<void(CDC&)> onPaint;
    std::map<win::UINT, win::CommandState> states;
    std::vector<win::UINT> stateQueries;
    int paints = 0;
};

// Runs the main loop until `done` holds or `timeoutMs` passed; whether it holds.
bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 3000);
void PumpFor(int milliseconds);

// Input as the X server makes it (XTEST), so that it goes all the way through GDK.
void FakeKey(unsigned long keysym, bool down);
// Presses the modifiers, taps the key, releases the modifiers.
void TapKey(unsigned long keysym, const std::vector<unsigned long>& modifiers = {});
void FakeMove(int screenX, int screenY);
void FakeButton(unsigned button, bool down);

// A shown, focused main window with a recording proc, destroyed after each test.
class MainWindowTest : public testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
    // Shows the window at a known place and waits until it has the focus; clears the log.
    void ShowAndFocus();
    // Taps the key and waits until its release was delivered (and what it posted).
    void Tap(unsigned long keysym, const std::vector<unsigned long>& modifiers = {});

    RecordingProc m_proc;  // outlives the window
    std::unique_ptr<win::IMainWindow> m_window;
    CGtkMainWindow* m_gtk = nullptr;
};

}  // namespace tokeiya::gtk::test
