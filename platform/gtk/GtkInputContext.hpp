#pragma once

#include <gtk/gtk.h>

#include <string>

#include "platform/gtk/GObjectPtr.hpp"
#include "platform/win/IInputContext.hpp"
#include "platform/win/WinMessages.hpp"

namespace tokeiya::gtk {

// What the input context needs of the window it belongs to.
class IInputContextHost {
  public:
    virtual ~IInputContextHost() = default;
    // Sends a composition message to the window's proc now; true when it was handled.
    virtual bool SendImeMessage(const win::Message& message) = 0;
    // Queues a composition message behind the messages already posted.
    virtual void PostImeMessage(const win::Message& message) = 0;
    // Queues the bytes as WM_CHAR messages, one per byte.
    virtual void PostCharacters(const std::string& cp932) = 0;
    // The composition text shown over the client area changed.
    virtual void CompositionDisplayChanged() = 0;
};

// The host window's input method over a GtkIMMulticontext (ibus, fcitx or GTK's simple
// context). Keys reach the input method only while it is open. Preedit start, change and
// end become the composition messages; committed text becomes a composition result when a
// composition is under way, else characters. Text is CP932 on our side: characters CP932
// cannot hold are dropped, with a beep when the user committed them.
//
// The program places the text under conversion itself (Paint), at the composition point,
// as the system's composition window would: the preedit is shown only there.
//
// GTK has no way to set the input method's conversion mode or its font: both are kept as
// set, so that reading them gives back what was written. The font is the one Paint draws the
// text under conversion in, so that it looks like the editor's own text.
class CGtkInputContext : public win::IInputContext {
  public:
    CGtkInputContext(GtkWidget* clientArea, IInputContextHost& host);
    ~CGtkInputContext() override;
    CGtkInputContext(const CGtkInputContext&) = delete;
    CGtkInputContext& operator=(const CGtkInputContext&) = delete;

    // True when the input method took the key; never while it is closed.
    bool FilterKey(GdkEventKey* event);
    // The window gained or lost the keyboard focus.
    void SetWindowFocus(bool focused);
    // Draws the text under conversion at the composition point, over what the window drew,
    // in the composition font as the window's device context would realise it.
    void Paint(cairo_t* cr) const;
    bool Composing() const { return m_composing; }
    GtkIMContext* Context() const { return m_context.get(); }

    bool SetOpen(bool open) override;
    bool IsOpen() const override { return m_open; }
    bool GetConversionStatus(int& conversion, int& sentence) const override;
    bool SetConversionStatus(int conversion, int sentence) override;
    bool SetCompositionFont(const LogFont& font) override;
    bool SetCompositionPoint(CPoint point) override;
    std::string CompositionString(int kind) const override;
    void CancelComposition() override;

  private:
    static void OnRealize(GtkWidget* widget, gpointer self) noexcept;
    static void OnUnrealize(GtkWidget* widget, gpointer self) noexcept;
    static void OnCommit(GtkIMContext* context, const gchar* text, gpointer self) noexcept;
    static void OnPreeditStart(GtkIMContext* context, gpointer self) noexcept;
    static void OnPreeditChanged(GtkIMContext* context, gpointer self) noexcept;
    static void OnPreeditEnd(GtkIMContext* context, gpointer self) noexcept;

    void Commit(const gchar* utf8);
    void StartComposition();
    void ReadPreedit();
    void EndComposition();
    void ClearPreedit();

    GtkWidget* m_area;  // not owned: the window's client area outlives the context
    IInputContextHost& m_host;
    GObjectPtr<GtkIMContext> m_context;
    bool m_open = false;
    bool m_focused = false;
    bool m_composing = false;
    // Set while a cancel resets the input method: what it commits then is dropped, and the
    // end of the composition is posted, because the proc is in the middle of a handler.
    bool m_cancelling = false;
    int m_conversion = win::IME_CMODE_NATIVE | win::IME_CMODE_FULLSHAPE | win::IME_CMODE_ROMAN;
    int m_sentence = 0;
    LogFont m_font;
    CPoint m_point;
    std::string m_composition;  // CP932
    std::string m_result;       // CP932, only while the result is being delivered
    std::string m_preeditUtf8;  // what Paint shows
    PangoAttrList* m_preeditAttributes = nullptr;  // owned
    int m_preeditCursor = 0;                       // byte offset into m_preeditUtf8
};

// The CP932 form of UTF-8 text, character by character; `dropped` tells whether any
// character had no CP932 form and was left out.
std::string Cp932Dropping(const std::string& utf8, bool& dropped);

}  // namespace tokeiya::gtk
