// The program entry of the window program: unit start-up, the "/ih"
// information box, the main scheme, the run loop and the teardown.
#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "framework/application.h"
#include "runtime/cp1251.h"
#include "schemes/zelSimpleForm_25EFC10.h"
#include "ui/Win.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    InitWinUnit();  // the common controls and the shared hint manager

    // Only the first argument counts, and only as a whole.
    if (__argc > 1 && std::strcmp(__argv[1], "/ih") == 0) {
        MessageBoxA(nullptr, std::string("Сделано в Zelmo."_w).c_str(), "Zelmo Info", MB_OK);
    } else {
        // Dispatch is still off: building the scheme runs no event chain.
        new TClassSimpleForm_25EFC10();
        MainScheme->MainForm->Run();  // dispatch on, start-up queue: the port list, then the window shows
        fw::RunMessageLoop();         // until the form has accepted its close
        delete MainScheme;            // reverse creation order, the form last
    }
    FinalizeWinUnit();
    // For a debugger or a test harness: the program's own teardown is done.
    OutputDebugStringA("quarnelvisk: teardown done\n");
    return 0;
}
