#pragma once
// What a window is told about its child controls: their notifications
// (WM_COMMAND), the height and drawing of owner-drawn list items, and the
// colours a child is to be drawn in. Each goes to the child's own handlers.
#include <windows.h>

namespace fw {

class TControl;
struct TMessage;

// Hands a message about a child of parent to that child; true when it was
// handled (m.Result is then the answer), false when it is no such message
// or the child has no handler, and the window's own handling is to follow.
bool DeliverChildMessage(TControl& parent, TMessage& m);

}  // namespace fw
