// Registration of the common-control window classes.
#pragma once

namespace fw {

// InitCommonControls, then InitCommonControlsEx with every class (0xFF)
// when the loaded comctl32 offers it. Cheap to repeat: the library is loaded
// once, and each common control runs this again before it is made.
void InitCommonControlsAll();

}  // namespace fw
