// What the layer knows about each kind of control: which notification codes
// mean click, change and selection change, which messages do the list
// operations, how text alignment is expressed, and how automatic sizing pads.
#pragma once

#include <windows.h>

namespace fw {

struct TKindTable {
    const char* ClassName = "";
    // Notification codes; -1 where the kind has no such notification (0 is a
    // real code: STN_CLICKED and BN_CLICKED are 0).
    int ClickCode = -1;
    int ChangeCode = -1;
    int SelChangeCode = -1;
    // List operations; 0 where the kind lacks the operation.
    UINT CountMsg = 0;
    UINT TextLengthMsg = 0;
    UINT TextMsg = 0;
    UINT GetDataMsg = 0;
    UINT SetDataMsg = 0;
    UINT AddMsg = 0;
    UINT DeleteMsg = 0;
    UINT InsertMsg = 0;
    UINT GetIndexMsg = 0;
    UINT SetIndexMsg = 0;
    UINT ResetMsg = 0;
    // Colour message taking an RGB value; 0: the background brush is used.
    UINT ColorMsg = 0;
    // Style words for left, right and centred text, and the bits they clear.
    DWORD AlignLeft = 0;
    DWORD AlignRight = 0;
    DWORD AlignCenter = 0;
    DWORD AlignMask = 0;
    // Padding added to the measured text by automatic sizing.
    int SizingWidth = 0;
    int SizingHeight = 0;
    // Size of a window made while the element left Width or Height at 0.
    int DefaultWidth = 0;
    int DefaultHeight = 0;
    // Combo boxes: selection changes arrive by a re-posted notification and
    // the dropped list is sized by the layer.
    bool ComboBox = false;
    // A window class of the layer itself (forms, the application window),
    // not a system control that is subclassed.
    bool OwnClass = false;
};

extern const TKindTable KindStatic;
extern const TKindTable KindButton;
extern const TKindTable KindEdit;
extern const TKindTable KindComboBox;
extern const TKindTable KindProgress;
extern const TKindTable KindForm;
extern const TKindTable KindApplication;

// Window class names registered by the layer.
inline constexpr const char* FormClassName = "QuarnelviskForm";
inline constexpr const char* ApplicationClassName = "QuarnelviskApplication";

}  // namespace fw
