#pragma once

#include <string>

#include "platform/gdi/CRect.hpp"
#include "platform/gdi/LogFont.hpp"

namespace tokeiya::win {

// Composition string kinds (GCS_*) that can be asked for.
inline constexpr int GCS_COMPREADSTR = 0x0001;
inline constexpr int GCS_COMPSTR = 0x0008;
inline constexpr int GCS_CURSORPOS = 0x0080;
inline constexpr int GCS_DELTASTART = 0x0100;
inline constexpr int GCS_RESULTSTR = 0x0800;

// Conversion mode bits (IME_CMODE_*).
inline constexpr int IME_CMODE_ALPHANUMERIC = 0x0000;
inline constexpr int IME_CMODE_NATIVE = 0x0001;
inline constexpr int IME_CMODE_KATAKANA = 0x0002;
inline constexpr int IME_CMODE_FULLSHAPE = 0x0008;
inline constexpr int IME_CMODE_ROMAN = 0x0010;

// The input method of the host window. A desktop whose window has no input method hands
// out no context at all.
class IInputContext {
  public:
    virtual ~IInputContext() = default;

    virtual bool SetOpen(bool open) = 0;
    virtual bool IsOpen() const = 0;
    virtual bool GetConversionStatus(int& conversion, int& sentence) const = 0;
    virtual bool SetConversionStatus(int conversion, int sentence) = 0;
    virtual bool SetCompositionFont(const LogFont& font) = 0;
    // Where the composition window goes, in client pixels (the caret's place).
    virtual bool SetCompositionPoint(CPoint point) = 0;
    // The composition text of a kind (GCS_COMPSTR, GCS_RESULTSTR), in CP932.
    virtual std::string CompositionString(int kind) const = 0;
    // Drops the composition under way, if any.
    virtual void CancelComposition() = 0;
};

}  // namespace tokeiya::win
