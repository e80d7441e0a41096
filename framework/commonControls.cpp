#include "commonControls.h"

#include <windows.h>
#include <commctrl.h>

namespace fw {

namespace {
using TInitEx = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);

TInitEx ExtendedInit() {
    // Looked up by name so that a comctl32 without the extended call (the
    // oldest systems) still runs with the basic one.
    static const TInitEx init = [] {
        HMODULE library = LoadLibraryA("comctl32.dll");
        if (!library) return TInitEx(nullptr);
        return reinterpret_cast<TInitEx>(reinterpret_cast<void*>(GetProcAddress(library, "InitCommonControlsEx")));
    }();
    return init;
}
}  // namespace

void InitCommonControlsAll() {
    InitCommonControls();
    if (TInitEx init = ExtendedInit()) {
        INITCOMMONCONTROLSEX icc{};
        icc.dwSize = 8;
        icc.dwICC = 0xFF;
        init(&icc);
    }
}

}  // namespace fw
