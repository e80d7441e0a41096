#include "zelHintManager.h"

#include "framework/font.h"
#include "framework/screen.h"
#include "framework/wideText.h"

TZelHintManager::TZelHintManager() {
    interface_.CreateTool = [this](HWND w) { return CreateTool(w); };
    interface_.DestroyTool = [this](THintTool* t) { DestroyTool(t); };
    interface_.SetToolText = [this](THintTool* t, const std::string& s) { SetToolText(t, s); };
    interface_.SetToolTitle = [this](THintTool* t, int icon, const std::string& s) { SetToolTitle(t, icon, s); };
    interface_.ToolEnter = [this](THintTool* t) { ToolEnter(t); };
    interface_.ToolLeave = [this](THintTool* t) { ToolLeave(t); };
    interface_.ToolMove = [this](THintTool* t, int x, int y) { ToolMove(t, x, y); };
}

THintTool* TZelHintManager::CreateTool(HWND window) {
    auto* tool = new THintTool();
    TTTOOLINFOW& ti = tool->Info;
    // The record of the classic tooltip (no reserved field), whatever the
    // headers' default size is.
    ti.cbSize = TTTOOLINFOW_V1_SIZE;
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS | TTF_TRANSPARENT;
    ti.hwnd = window;
    ti.uId = reinterpret_cast<UINT_PTR>(window);
    ti.lpszText = tool->Text.data();

    const DWORD style = WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX | (Classic == 0 ? TTS_BALLOON : 0);
    tool->Tooltip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, style, CW_USEDEFAULT, CW_USEDEFAULT,
                                    CW_USEDEFAULT, CW_USEDEFAULT, window, nullptr, GetModuleHandleW(nullptr), nullptr);
    fw::TFontSpec wanted;
    wanted.Name = Font.Name;
    wanted.Height = fw::FontHeight(Font.Size, fw::ScreenLogPixelsY());
    wanted.Style = Font.Style;
    wanted.CharSet = Font.CharSet;
    tool->Font = fw::CreateFontFromSpec(wanted);
    SendMessageA(tool->Tooltip, WM_SETFONT, WPARAM(tool->Font), TRUE);
    SetWindowPos(tool->Tooltip, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);

    SendMessageW(tool->Tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
    SendMessageA(tool->Tooltip, TTM_SETTIPTEXTCOLOR, WPARAM(fw::ResolveColor(Font.Color)), 0);
    SendMessageA(tool->Tooltip, TTM_SETTIPBKCOLOR, WPARAM(fw::ResolveColor(BackColor)), 0);
    SendMessageA(tool->Tooltip, TTM_SETDELAYTIME, TTDT_INITIAL, LPARAM(InitialDelay));
    SendMessageA(tool->Tooltip, TTM_SETDELAYTIME, TTDT_AUTOPOP, LPARAM(AutoPopDelay));
    RECT margin{Margin, Margin, Margin, Margin};
    SendMessageA(tool->Tooltip, TTM_SETMARGIN, 0, reinterpret_cast<LPARAM>(&margin));
    ti.lParam = reinterpret_cast<LPARAM>(tool->Tooltip);
    return tool;
}

void TZelHintManager::DestroyTool(THintTool* tool) {
    if (!tool) return;
    if (IsWindow(tool->Tooltip)) {
        SendMessageW(tool->Tooltip, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool->Info));
        DestroyWindow(tool->Tooltip);
    }
    // Kept in the record rather than asked back with WM_GETFONT, so that it
    // is freed even when the tooltip went with its owner window.
    if (tool->Font) DeleteObject(tool->Font);
    delete tool;
}

void TZelHintManager::SetToolText(THintTool* tool, const std::string& text) {
    if (!tool) return;
    tool->Text = fw::Wide(text);
    tool->Info.lpszText = tool->Text.data();
    SendMessageW(tool->Tooltip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool->Info));
}

void TZelHintManager::SetToolTitle(THintTool* tool, int icon, const std::string& title) {
    if (!tool) return;
    const std::wstring wide = fw::Wide(title);
    SendMessageW(tool->Tooltip, TTM_SETTITLEW, WPARAM(icon), reinterpret_cast<LPARAM>(wide.c_str()));
}

void TZelHintManager::ToolEnter(THintTool* tool) {
    if (tool && Tracking == 1)
        SendMessageW(tool->Tooltip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool->Info));
}

void TZelHintManager::ToolLeave(THintTool* tool) {
    if (tool && Tracking == 1)
        SendMessageW(tool->Tooltip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool->Info));
}

void TZelHintManager::ToolMove(THintTool* tool, int x, int y) {
    if (tool && Tracking == 1) SendMessageA(tool->Tooltip, TTM_TRACKPOSITION, 0, MAKELPARAM(x, y));
}
