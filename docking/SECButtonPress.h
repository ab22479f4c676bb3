// The press of a flat button drawn inside a window (a caption or strip button): the window keeps
// the mouse until the left button is released, and the button shows pressed while the pointer
// stays inside it.
#pragma once
#include "afxwin.h"
#include <functional>

// Tracks a press that started inside rect (pWnd's client coordinates). drawPressed(TRUE) is
// called at once and whenever the pointer comes back inside, drawPressed(FALSE) whenever it
// leaves and at the end. Other messages are dispatched meanwhile; Escape cancels. TRUE when the
// button was released inside the rectangle.
BOOL SECTrackButtonPress(CWnd* pWnd, const CRect& rect, const std::function<void(BOOL bPressed)>& drawPressed);
