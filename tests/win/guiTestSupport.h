// Helpers shared by the window tests: message pumping, a host form, and the
// screenshot hand-shake with the harness (tests/harness/gui-run).
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <memory>
#include <string>

#include "framework/application.h"
#include "framework/wideText.h"
#include "runtime/Share.h"
#include "tests/unit/elementTestSupport.h"
#include "tests/unit/testSupport.h"
#include "ui/zelSimpleForm.h"

// Carries out waiting messages for about ms milliseconds (at least once).
inline void Pump(int ms = 0) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    do {
        fw::ProcessMessages();
        if (ms > 0) MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    } while (std::chrono::steady_clock::now() < end);
}

// Pumps until done() holds or the timeout passes; gives done()'s last answer.
inline bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 5000) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        fw::ProcessMessages();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}

// Every window test starts from the program's state before the form starts:
// dispatch off, empty start-up queue, the loop not terminated.
class GuiTest : public ::testing::Test {
protected:
    void SetUp() override { Reset(); }
    void TearDown() override {
        Pump();
        Reset();
    }
    static void Reset() {
        DisableDispatch();
        ResetStartup();
        fw::Application().Terminated = false;
    }
};

// A shown form to put controls on.
struct THostForm {
    std::unique_ptr<TZelSimpleForm> form;
    explicit THostForm(int width = 420, int height = 320, int left = 40, int top = 40) {
        form = std::make_unique<TZelSimpleForm>(nullptr);
        form->Left = left;
        form->Top = top;
        form->Width = width;
        form->Height = height;
        form->Color = 0xFF00000F;
        form->Init();
        form->Control->SetVisible(true);
        ResetStartup();  // the host's start routine is not wanted
    }
    fw::TControl* Parent() { return form->Control.get(); }
};

inline DWORD StyleOf(HWND w) { return DWORD(GetWindowLongA(w, GWL_STYLE)); }
inline DWORD ExStyleOf(HWND w) { return DWORD(GetWindowLongA(w, GWL_EXSTYLE)); }
inline bool VisibleBit(HWND w) { return (StyleOf(w) & WS_VISIBLE) != 0; }
// Read wide, so that the tests see the same Windows-1251 text on any code page.
inline std::wstring WideWindowText(HWND w) {
    wchar_t buffer[512] = {};
    GetWindowTextW(w, buffer, 512);
    return buffer;
}
inline std::string WindowText(HWND w) { return fw::Narrow(WideWindowText(w)); }
inline RECT WindowRectIn(HWND w, HWND parent) {
    RECT r;
    GetWindowRect(w, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// Asks the harness for a screenshot named name; false when no harness runs
// (QV_HANDSHAKE_DIR unset) or it did not answer in time.
inline bool RequestScreenshot(const std::string& name) {
    const char* dir = std::getenv("QV_HANDSHAKE_DIR");
    if (!dir || !*dir) return false;
    const std::string base = std::string(dir) + "\\";
    { std::ofstream(base + "request-" + name) << name; }
    return PumpUntil([&] { return GetFileAttributesA((base + "done-" + name).c_str()) != INVALID_FILE_ATTRIBUTES; },
                     20000);
}
