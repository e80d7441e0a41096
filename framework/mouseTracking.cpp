#include "mouseTracking.h"

namespace fw {

void TrackMouse(HWND window, DWORD flags) {
    TRACKMOUSEEVENT tme{};
    tme.cbSize = sizeof(tme);
    tme.dwFlags = flags;
    tme.hwndTrack = window;
    tme.dwHoverTime = HOVER_DEFAULT;
    TrackMouseEvent(&tme);
}

}  // namespace fw
