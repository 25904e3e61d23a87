#pragma once

#include <string>

namespace tokeiya {

class CTokeiyaDoc;

// The password change "パスワード変更" of the logged-in user: the old password must match
// and the new one be typed twice alike; the fifth refusal ends the run. The new password
// is stored as its hash, and remembered for the next login when this user's login is.
class CPasswordChange {
  public:
    static constexpr int kMaxRefusals = 5;

    explicit CPasswordChange(CTokeiyaDoc& session) : m_session(session) {}

    // True when the new password was stored. A `reason` is shown in the dialog, when the
    // program rather than the user opened it.
    bool Run(const std::string& reason = {});

  private:
    CTokeiyaDoc& m_session;
};

}  // namespace tokeiya
