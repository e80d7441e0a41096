#pragma once
// Mouse and keyboard messages handed to a control's handlers: the mouse as
// TMouseData in client coordinates, keys and characters as Windows-1251
// codes that a handler may change or consume.
#include <windows.h>

namespace fw {

class TControl;
struct TMessage;

bool IsInputMessage(UINT msg);
// Calls the control's handler for the input message m, if it has one; true
// when the handler consumed it (m.Result is then the answer), false when the
// window's own handling is to follow, with m as the handler left it.
bool DeliverInput(TControl& control, TMessage& m);

}  // namespace fw
