#include "zelEdit.h"

namespace {
constexpr DWORD EditStyle = 0x508100C0;  // WS_CHILD WS_VISIBLE WS_BORDER WS_TABSTOP ES_AUTOVSCROLL ES_AUTOHSCROLL
}

TZelEdit::TZelEdit(fw::TControl* parentControl) : TZelWin(parentControl) {
    TextGetter = [this](TData& d) { return CurrentText(d); };
}

bool TZelEdit::CurrentText(TData& d) {
    SetStr(d, Control ? Control->Text() : std::string());
    return true;
}

void TZelEdit::Init() {
    DWORD style = EditStyle;
    if (Password == 1) style |= ES_PASSWORD;
    if (ReadOnly == 1) style |= ES_READONLY;
    Control = std::make_unique<fw::TControl>(ParentControl, fw::KindEdit, style, true);
    Control->SetTextAlignment(Alignment == 1 ? 1 : Alignment == 2 ? 2 : 0);
    TZelWin::Init();
    Control->OnChange = [this] { ChangeRule(); };
    // Not armed yet: the initial text fires no onChange.
    Control->SetText(Text);
}

void TZelEdit::ChangeRule() {
    TData text;
    if (ChangeArmed.load() && TextGetter && TextGetter(text)) CallEvent(onChange, text);
    ChangeArmed = 1;
}

void TZelEdit::doText(TData& d, uint16_t) {
    PendingClear = 0;
    if (!Control) return;
    const std::string text = ReadString(d, Str, std::string());
    // Nothing waits on the change of an edit whose onChange leads nowhere:
    // from another thread its text is handed over without waiting for the
    // window's thread (under Wine that wait is most of an upload step).
    if (!onChange.Linked() && !Control->IsOwnerThread()) {
        Control->HandTextOver(text);
        return;
    }
    Control->Owned([&] {
        DWORD start = 0;
        Control->Send(EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
        Control->SetText(text);
        Control->Send(EM_SETSEL, start, start);
    });
}

void TZelEdit::getText(TData& d, uint16_t) {
    if (!TextGetter || !TextGetter(d)) SetNull(d);
}

void TZelEdit::KeyDown(uint16_t& key, uint32_t shift) {
    if (!onEnter.Linked() || key != VK_RETURN) {
        TZelWin::KeyDown(key, shift);
        return;
    }
    TData text;
    if (TextGetter && TextGetter(text)) {
        PendingClear = 1;
        CallEvent(onEnter, text);
        if (PendingClear.load() == 1) {
            // Cleared without an onChange for the clearing.
            ChangeArmed = 0;
            Control->SetText("");
        }
    }
    key = 0;
}
