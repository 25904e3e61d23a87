#pragma once

#include <string>

#include "platform/gdi/CDC.hpp"

namespace tokeiya {

// A printer device context writing a PDF file. Device units are dots at the given
// resolution, so a page printed here is laid out as on a printer of that resolution.
class CPdfDC : public CDC {
  public:
    // `pagePoints`: the sheet in points (1/72 inch), A4 portrait is 595 x 842.
    CPdfDC(const std::string& path, CSize pagePoints, int dotsPerInch = 72,
           CFontCache& fonts = CFontCache::ForThisThread());
    ~CPdfDC() override;

    int DotsPerInch() const { return m_dpi; }
    // The sheet in device units.
    CSize PageSize() const;

    bool StartPage();
    bool EndPage();
    // Finishes the file; false when it could not be written. Nothing can be drawn after.
    bool EndDoc();

  private:
    bool Healthy() const;

    CSize m_pagePoints;
    int m_dpi;
    bool m_inPage = false;
    bool m_ended = false;
};

}  // namespace tokeiya
