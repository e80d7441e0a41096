#include "childMessages.h"

#include "control.h"
#include "screen.h"

namespace fw {

bool DeliverChildMessage(TControl& parent, TMessage& m) {
    switch (m.Msg) {
        case WM_COMMAND:
            if (TControl* child = TControl::FromHandle(reinterpret_cast<HWND>(m.LParam))) {
                child->Notify(HIWORD(m.WParam));
                m.Result = 0;
                return true;
            }
            return false;
        case WM_MEASUREITEM: {
            auto* mi = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
            for (TControl* child : parent.Children()) {
                if (child->Id() == int(mi->CtlID) && child->OnItemHeight) {
                    mi->itemHeight = UINT(child->OnItemHeight(int(mi->itemID)));
                    m.Result = TRUE;
                    return true;
                }
            }
            return false;
        }
        case WM_DRAWITEM: {
            auto* di = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
            if (TControl* child = TControl::FromHandle(di->hwndItem); child && child->OnDrawItem) {
                child->OnDrawItem(*di);
                m.Result = TRUE;
                return true;
            }
            return false;
        }
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN: {
            // A child's own colour; the parts of a combo box ask the combo box.
            TControl* source = TControl::FromHandle(reinterpret_cast<HWND>(m.LParam));
            if (!source) source = &parent;
            HDC dc = reinterpret_cast<HDC>(m.WParam);
            SetTextColor(dc, ResolveColor(source->Font().Color));
            SetBkColor(dc, ResolveColor(source->Color()));
            m.Result = reinterpret_cast<LRESULT>(source->Brush());
            return true;
        }
        default: return false;
    }
}

}  // namespace fw
