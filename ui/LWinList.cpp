#include "LWinList.h"

#include "framework/stringList.h"

void TZelLWinList::SetStrings(const std::string& text) {
    BeginFill(int(text.size()));
    if (!text.empty()) {
        fw::TStringList lines;
        lines.SetText(text);
        for (int i = 0; i < lines.Count(); ++i) AddItem(lines.Item(i));
    }
    EndFill();
}
