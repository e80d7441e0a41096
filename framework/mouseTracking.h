// Mouse enter and leave for a window: Windows tells a window that the mouse
// left it, or hovered over it, only when asked for each time.
#pragma once

#include <windows.h>

#include "control.h"

namespace fw {

// Asks for the next leave (TME_LEAVE) or hover (TME_HOVER) notice.
void TrackMouse(HWND window, DWORD flags);

// Turns a window's mouse messages into enter and leave: a mouse message
// arms the leave notice and counts as entering, a leave arms the hover
// notice again, a hover is an enter.
template <class Enter, class Leave>
void FollowMouse(const TMessage& m, HWND window, Enter&& enter, Leave&& leave) {
    if (m.Msg == WM_MOUSEHOVER) {
        enter();
    } else if (m.Msg == WM_MOUSELEAVE) {
        leave();
        TrackMouse(window, TME_HOVER);
    } else if (m.Msg >= WM_MOUSEMOVE && m.Msg <= WM_MOUSEWHEEL) {
        TrackMouse(window, TME_LEAVE);
        enter();
    }
}

}  // namespace fw
