#include "inputMessages.h"

#include <windowsx.h>

#include <string>

#include "base/cp1251.h"
#include "control.h"
#include "wideText.h"

namespace fw {

namespace {

uint32_t ShiftState() {
    uint32_t shift = 0;
    if (GetKeyState(VK_SHIFT) < 0) shift |= ShiftKey;
    if (GetKeyState(VK_MENU) < 0) shift |= AltKey;
    if (GetKeyState(VK_CONTROL) < 0) shift |= CtrlKey;
    return shift;
}

TMouseData MouseData(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    TMouseData m;
    switch (msg) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_LBUTTONDBLCLK: m.Button = MouseLeft; break;
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
        case WM_RBUTTONDBLCLK: m.Button = MouseRight; break;
        case WM_MBUTTONDOWN:
        case WM_MBUTTONUP:
        case WM_MBUTTONDBLCLK: m.Button = MouseMiddle; break;
        default: m.Button = MouseNone; break;
    }
    m.KeyState = uint32_t(wParam);
    if (GetKeyState(VK_MENU) < 0) m.KeyState += AltKeyState;
    POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    if (msg == WM_MOUSEWHEEL) ScreenToClient(window, &p);  // the wheel reports screen coordinates
    m.X = int16_t(p.x);
    m.Y = int16_t(p.y);
    return m;
}

uint16_t WindowsCode(uint16_t unit) {
    const int code = cp1251::FromUnicode(unit);
    return uint16_t(code < 0 ? '?' : code);
}

wchar_t CharacterOf(uint16_t code) {
    if (code > 0xFF) return wchar_t(code);
    const std::wstring wide = Wide(std::string(1, char(code)));
    return wide.empty() ? wchar_t(code) : wide[0];
}

TMouseHandler* MouseHandlerFor(TControl& control, UINT msg) {
    switch (msg) {
        case WM_MOUSEMOVE: return &control.OnMouseMove;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN: return &control.OnMouseDown;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP: return &control.OnMouseUp;
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDBLCLK: return &control.OnDblClick;
        case WM_MOUSEWHEEL: return &control.OnMouseWheel;
        default: return nullptr;
    }
}

}  // namespace

bool IsInputMessage(UINT msg) {
    return (msg >= WM_MOUSEFIRST && msg <= WM_MOUSEWHEEL) || msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN ||
           msg == WM_KEYUP || msg == WM_SYSKEYUP || msg == WM_CHAR;
}

bool DeliverInput(TControl& control, TMessage& m) {
    if (TMouseHandler* handler = MouseHandlerFor(control, m.Msg)) {
        if (*handler) (*handler)(MouseData(control.HandleIfAllocated(), m.Msg, m.WParam, m.LParam));
        return false;
    }
    switch (m.Msg) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
        case WM_KEYUP:
        case WM_SYSKEYUP:
        case WM_CHAR: {
            TKeyHandler* slot = (m.Msg == WM_KEYDOWN || m.Msg == WM_SYSKEYDOWN) ? &control.OnKeyDown
                                : (m.Msg == WM_CHAR)                            ? &control.OnChar
                                                                                : &control.OnKeyUp;
            if (!*slot) return false;
            // Characters reach the handlers as Windows-1251 codes, like
            // every other text; a character the page lacks shows as '?'.
            const bool character = m.Msg == WM_CHAR;
            const uint16_t given = character ? WindowsCode(uint16_t(m.WParam)) : uint16_t(m.WParam);
            uint16_t key = given;
            (*slot)(key, ShiftState());
            if (key == 0) {
                m.Result = 0;
                return true;
            }
            if (key != given) m.WParam = character ? WPARAM(CharacterOf(key)) : WPARAM(key);
            return false;
        }
        default: return false;
    }
}

}  // namespace fw
