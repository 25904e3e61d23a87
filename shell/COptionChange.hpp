#pragma once

namespace tokeiya {

class CTokeiyaDoc;

// The option dialog "オプション設定" run for the session. On OK the settings of this
// computer are written, the logged-in user's minute values stored (they follow the user to
// other computers, and new time card days take the lunch minutes from them), and the alarms
// read again when everyone's alarms were switched on or off.
class COptionChange {
  public:
    explicit COptionChange(CTokeiyaDoc& session) : m_session(session) {}

    // True when the dialog was closed with OK; the caller then tells the screens.
    [[nodiscard]] bool Run();

  private:
    CTokeiyaDoc& m_session;
};

}  // namespace tokeiya
