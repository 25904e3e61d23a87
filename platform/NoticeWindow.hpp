#pragma once

#include <string>

namespace tokeiya {

// A small modeless window that tells the user something without stopping the program: a
// caption, two lines of text and an OK button. It is made hidden; OK, the program or its
// own time hide it again, and it lives until its owner deletes it, however often it is
// shown. Texts are CP932.
class INoticeWindow {
  public:
    virtual ~INoticeWindow() = default;
    // Shows the two lines in front of the other windows and hides the window again after
    // `seconds` (0 or less: at the desktop's next turn). Shown again while shown, it takes
    // the new lines and counts its time afresh.
    virtual void Show(const std::string& firstLine, const std::string& secondLine, int seconds) = 0;
    virtual void Hide() = 0;
    virtual bool IsVisible() const = 0;
};

}  // namespace tokeiya
