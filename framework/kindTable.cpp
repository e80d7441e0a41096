#include "kindTable.h"

#include <commctrl.h>

namespace fw {

namespace {

TKindTable MakeStatic() {
    TKindTable k;
    k.ClassName = "STATIC";
    k.ClickCode = STN_CLICKED;
    k.AlignLeft = SS_LEFT;
    k.AlignRight = SS_RIGHT;
    k.AlignCenter = SS_CENTER;
    k.AlignMask = 0xC;
    k.SizingWidth = 1;
    k.SizingHeight = 1;
    k.DefaultWidth = 65;
    k.DefaultHeight = 17;
    return k;
}

TKindTable MakeButton() {
    TKindTable k;
    k.ClassName = "BUTTON";
    k.ClickCode = BN_CLICKED;
    k.AlignLeft = BS_LEFT;
    k.AlignRight = BS_RIGHT;
    k.AlignCenter = BS_CENTER;
    k.AlignMask = BS_CENTER;
    k.SizingWidth = 14;
    k.SizingHeight = 0;
    k.DefaultWidth = 75;
    k.DefaultHeight = 25;
    return k;
}

TKindTable MakeEdit() {
    TKindTable k;
    k.ClassName = "EDIT";
    k.ChangeCode = EN_CHANGE;
    k.AlignLeft = ES_LEFT;
    k.AlignRight = ES_RIGHT;
    k.AlignCenter = ES_CENTER;
    k.AlignMask = ES_CENTER | ES_RIGHT;
    k.SizingWidth = 0;
    k.SizingHeight = 6;
    k.DefaultWidth = 121;
    k.DefaultHeight = 21;
    return k;
}

TKindTable MakeComboBox() {
    TKindTable k;
    k.ClassName = "COMBOBOX";
    k.ClickCode = CBN_DBLCLK;
    k.ChangeCode = CBN_EDITCHANGE;
    k.SelChangeCode = 15;
    k.CountMsg = CB_GETCOUNT;
    k.TextLengthMsg = CB_GETLBTEXTLEN;
    k.TextMsg = CB_GETLBTEXT;
    k.GetDataMsg = CB_GETITEMDATA;
    k.SetDataMsg = CB_SETITEMDATA;
    k.AddMsg = CB_ADDSTRING;
    k.DeleteMsg = CB_DELETESTRING;
    k.InsertMsg = CB_INSERTSTRING;
    k.GetIndexMsg = CB_GETCURSEL;
    k.SetIndexMsg = CB_SETCURSEL;
    k.ResetMsg = CB_RESETCONTENT;
    k.DefaultWidth = 145;
    k.DefaultHeight = 21;
    k.ComboBox = true;
    return k;
}

TKindTable MakeProgress() {
    TKindTable k;
    k.ClassName = PROGRESS_CLASSA;
    k.ColorMsg = CCM_SETBKCOLOR;
    k.DefaultWidth = 150;
    k.DefaultHeight = 17;
    return k;
}

TKindTable MakeOwn(const char* name) {
    TKindTable k;
    k.ClassName = name;
    k.OwnClass = true;
    k.DefaultWidth = 0;
    k.DefaultHeight = 0;
    return k;
}

}  // namespace

const TKindTable KindStatic = MakeStatic();
const TKindTable KindButton = MakeButton();
const TKindTable KindEdit = MakeEdit();
const TKindTable KindComboBox = MakeComboBox();
const TKindTable KindProgress = MakeProgress();
const TKindTable KindForm = MakeOwn(FormClassName);
const TKindTable KindApplication = MakeOwn(ApplicationClassName);

}  // namespace fw
