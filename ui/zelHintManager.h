// Tooltips for elements whose Hint is not empty: one tooltip window per
// tool. One manager exists for the whole process (made by InitWinUnit).
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <functional>
#include <string>

#include "runtime/Share.h"

// The tool of one control, owned by the manager that made it.
struct THintTool {
    TTTOOLINFOW Info{};
    std::wstring Text;
    HWND Tooltip = nullptr;
    HFONT Font = nullptr;  // given to the tooltip, deleted with the tool
};

// What an element holds of a hint manager: seven operations bound to it.
struct THintManagerInterface {
    std::function<THintTool*(HWND window)> CreateTool;
    std::function<void(THintTool* tool)> DestroyTool;
    std::function<void(THintTool* tool, const std::string& text)> SetToolText;
    std::function<void(THintTool* tool, int icon, const std::string& title)> SetToolTitle;
    std::function<void(THintTool* tool)> ToolEnter;
    std::function<void(THintTool* tool)> ToolLeave;
    std::function<void(THintTool* tool, int x, int y)> ToolMove;
};

class TZelHintManager {
public:
    TZelHintManager();
    TZelHintManager(const TZelHintManager&) = delete;
    TZelHintManager& operator=(const TZelHintManager&) = delete;

    THintManagerInterface* Interface() { return &interface_; }

    uint8_t Classic = 1;              // 0: balloon tips
    uint32_t BackColor = 0xFF000018;  // COLOR_INFOBK
    int32_t InitialDelay = 500;       // ms before a tip shows
    int32_t AutoPopDelay = 5000;      // ms a tip stays
    int32_t Margin = 0;
    uint8_t Tracking = 0;  // 1: tips follow the mouse
    TFontRec Font{"Tahoma", 8, 0, 0xFF000017, 1};

    THintTool* CreateTool(HWND window);
    void DestroyTool(THintTool* tool);
    void SetToolText(THintTool* tool, const std::string& text);
    void SetToolTitle(THintTool* tool, int icon, const std::string& title);
    void ToolEnter(THintTool* tool);
    void ToolLeave(THintTool* tool);
    void ToolMove(THintTool* tool, int x, int y);

private:
    THintManagerInterface interface_;
};
