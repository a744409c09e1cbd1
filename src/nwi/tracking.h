// The auto-repeat mouse tracking loop (list, grid and spin).
#pragma once

#include "ctlrecord.h"

// Runs while the left button is held after a press in the control: sends the
// control WM_MOUSEMOVE at a rate that grows with the cursor's distance from
// the client area (`horizontal` also tracks beside the left and right edges)
// and dispatches other messages, until the button is released (the
// WM_LBUTTONUP is sent to its window), the control's veto flag is set (a
// WM_LBUTTONUP is posted to the control) or the control is destroyed. A
// second call while it runs returns at once.
void HCtlTrackCapture(HCtlRecord* record, BOOL horizontal);
