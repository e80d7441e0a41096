// The program entry of the window program: unit start-up, the "/ih"
// information box, the main scheme, the run loop and the teardown.
#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "framework/application.h"
#include "platform/messageBox.h"
#include "platform/threadWait.h"
#include "base/cp1251.h"
#include "schemes/zelSimpleForm_25EFC10.h"
#include "ui/Win.h"

namespace {

// Dispatch is off once the form has closed, but the watchdog's thread may
// still be in a chain that began before, perhaps inside a synchronous call
// into this thread: such calls are served until the nested schemes are
// quiet (10 s at most), so that nothing is destroyed under that chain.
void WaitQuiet(TClassSimpleForm_25EFC10& scheme) {
    platform::WaitServingSentMessages(
        [&] { return !scheme.Exchange.Detector->Running() && !scheme.Exchange.Uploader->Running(); },
        std::chrono::seconds(10));
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    InitWinUnit();  // the common controls and the shared hint manager

    // Only the first argument counts, and only as a whole.
    if (__argc > 1 && std::strcmp(__argv[1], "/ih") == 0) {
        platform::ShowMessageBox(std::string("Сделано в Zelmo."_w), "Zelmo Info");
    } else {
        // Dispatch is still off: building the scheme runs no event chain.
        new TClassSimpleForm_25EFC10();
        MainScheme->MainForm->Run();  // dispatch on, start-up queue: the port list, then the window shows
        fw::RunMessageLoop();         // until the form has accepted its close
        WaitQuiet(*MainScheme);
        delete MainScheme;  // reverse creation order, the form last
    }
    FinalizeWinUnit();
    // For a debugger or a test harness: the program's own teardown is done.
    OutputDebugStringA("quarnelvisk: teardown done\n");
    return 0;
}
