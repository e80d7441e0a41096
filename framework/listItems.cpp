#include "listItems.h"

#include "control.h"
#include "wideText.h"

namespace fw {

TListItems::TListItems(TControl& control) : control_(control), kind_(control.Kind()) {}

int TListItems::Count() { return kind_.CountMsg ? int(control_.Send(kind_.CountMsg)) : 0; }

std::string TListItems::Text(int index) {
    if (!kind_.TextMsg || !kind_.TextLengthMsg) return {};
    return control_.Owned([&] {
        const LRESULT length = control_.Send(kind_.TextLengthMsg, WPARAM(index));
        if (length < 0) return std::string();
        std::wstring text(size_t(length) + 1, L'\0');
        const LRESULT got =
            SendMessageW(control_.Handle(), kind_.TextMsg, WPARAM(index), reinterpret_cast<LPARAM>(text.data()));
        text.resize(got < 0 ? 0 : size_t(got));
        return Narrow(text);
    });
}

LRESULT TListItems::Data(int index) { return kind_.GetDataMsg ? control_.Send(kind_.GetDataMsg, WPARAM(index)) : -1; }

void TListItems::SetData(int index, LRESULT data) {
    if (kind_.SetDataMsg) control_.Send(kind_.SetDataMsg, WPARAM(index), LPARAM(data));
}

int TListItems::Add(const std::string& text) {
    if (kind_.AddMsg) return int(control_.SendText(kind_.AddMsg, 0, text));
    // A kind without list messages keeps its items as lines of its text.
    control_.Owned([&] { control_.SetText(control_.Text() + text + "\r\n"); });
    return -1;
}

int TListItems::Insert(int index, const std::string& text) {
    if (!kind_.InsertMsg) return -1;
    return int(control_.SendText(kind_.InsertMsg, WPARAM(index), text));
}

void TListItems::Delete(int index) {
    if (kind_.DeleteMsg) control_.Send(kind_.DeleteMsg, WPARAM(index));
}

int TListItems::Current() { return kind_.GetIndexMsg ? int(control_.Send(kind_.GetIndexMsg)) : -1; }

void TListItems::SetCurrent(int index) {
    if (kind_.SetIndexMsg) control_.Send(kind_.SetIndexMsg, WPARAM(index));
}

void TListItems::Clear() {
    if (kind_.ResetMsg)
        control_.Send(kind_.ResetMsg);
    else if (!kind_.AddMsg)
        control_.SetText("");
}

}  // namespace fw
