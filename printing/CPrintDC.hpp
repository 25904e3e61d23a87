#pragma once

#include <memory>
#include <string>

#include "platform/gdi/CDC.hpp"
#include "platform/gdi/CFontCache.hpp"
#include "platform/gdi/IPrinting.hpp"

namespace tokeiya {

// Lengths in tenths of a millimetre and hundredths of an inch as device units at `dpi`,
// truncated after adding a half; a resolution that is not positive leaves them as they are.
int TenthsMmToDevice(int tenthsMm, int dpi);
int HundredthsInchToDevice(int hundredthsInch, int dpi);

namespace detail {
// The print device context's own fonts: its pages may be drawn on a worker thread while
// the windows paint with theirs.
struct PrintFonts {
    CFontCache m_printFonts;
};
}  // namespace detail

// A device context on a printer (or a PDF file standing in for one). Device units are the
// printer's dots; the origin is the corner of the printable area, as the printer counts.
// The position adjustment moves everything drawn left and up by its offsets.
class CPrintDC : private detail::PrintFonts, public CDC {
  public:
    CPrintDC();
    ~CPrintDC() override;

    // The printer the setup names, through the desktop's printers; false with the reason
    // (CP932) when it is not there.
    bool CreateFromNames(IPrinting& printing, const PrinterSetup& setup, std::string& reason);
    // A device made elsewhere, such as a PDF file.
    void CreateFromDevice(std::unique_ptr<IPrinterDevice> device, std::string deviceName);
    const std::string& DeviceName() const { return m_deviceName; }

    // The adjustment, in tenths of a millimetre toward the left and upward.
    void SetOffsets(int x, int y);
    int OffsetX() const { return m_offsetX; }
    int OffsetY() const { return m_offsetY; }
    // The printer's resolution; 0 or less when it gives none (and without a device).
    int Resolution() const;

    // (0, 0, sheet width, sheet height) in device units; false without a device.
    bool GetPageRect(CRect& out) const;
    // The area inside the margins (device units), clamped to the printer's hardware margins
    // when asked, in the printer's coordinates; false without a device.
    bool GetPrintableRect(CRect& out, int left, int right, int top, int bottom, bool clamp) const;

    // A document's brackets; each is false (and does nothing) out of order, without a
    // device, or when the device failed, with the reason in LastError().
    bool StartDoc(const std::string& title);
    bool StartPage();
    bool EndPage();
    bool EndDoc();
    // Drops the document started: nothing is printed.
    void AbortDoc();
    int PagesEnded() const { return m_pages; }
    const std::string& LastError() const { return m_lastError; }

  private:
    // Device units of one point along the sheet (72 per inch without a resolution).
    double DotsPerPoint() const;
    void Release();

    std::unique_ptr<IPrinterDevice> m_device;
    std::string m_deviceName;
    int m_offsetX = 0;  // device units
    int m_offsetY = 0;
    bool m_inDoc = false;
    bool m_inPage = false;
    int m_pages = 0;
    std::string m_lastError;
};

}  // namespace tokeiya
