#pragma once

#include <gtk/gtk.h>

#include "platform/win/WinMessages.hpp"

namespace tokeiya::gtk {

// GDK reports a double click as press, release, press, 2BUTTON_PRESS, release; Windows as
// down, up, double click, up. The mouse message of a button event, in Windows' order: 0
// for an event that has none (the plain press that a 2BUTTON_PRESS follows, the
// 3BUTTON_PRESS that follows the third press of a triple click, buttons other than the
// three), else WM_[LRM]BUTTON{DOWN,UP,DBLCLK}.
//
// GDK queues the 2BUTTON_PRESS right behind the press it completes, before either is
// dispatched, so a look at the queue tells whether a press is the second of a double click.
win::UINT ButtonMessage(const GdkEventButton* event);

// The MK_* flags for the state of a button event: the button pressed counts as held, the
// button released as no longer held, as Windows reports them.
win::WPARAM MouseKeyFlags(guint state, const GdkEventButton* event = nullptr);

}  // namespace tokeiya::gtk
