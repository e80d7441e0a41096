// A single-line edit field. Its text can be set by doText, read through the
// getText getter, and it reports changes and Enter.
#pragma once

#include <atomic>
#include <functional>

#include "ui/Win.h"

class TZelEdit : public TZelWin {
public:
    explicit TZelEdit(fw::TControl* parentControl);

    std::string InitialText;  // kept, not read
    int32_t Reserved = 0;     // kept, not read
    // Touched by doText from any thread and by key handling on the
    // user-interface thread.
    std::atomic<uint8_t> ChangeArmed{0};
    std::atomic<uint8_t> PendingClear{0};
    // Fills a record with the current text; true on success. Set to the
    // element's own CurrentText at construction.
    std::function<bool(TData&)> TextGetter;
    uint8_t Password = 0;
    std::string Text;  // the initial text
    uint8_t ReadOnly = 0;
    uint8_t Alignment = 0;  // 0 left, 1 right, 2 centre
    TPointLink Str;         // read by doText
    TPointLink onEnter;     // the text, when Enter is pressed
    TPointLink onChange;    // the text, after each change

    // The control's current window text as a string; always succeeds.
    bool CurrentText(TData& d);

    // Work point (index 0 in the main scheme): the text becomes Str, or the
    // incoming value; the caret keeps its index.
    void doText(TData& d, uint16_t index);
    // Getter (index 0 in the main scheme): the current text, or null when the
    // text getter fails.
    void getText(TData& d, uint16_t index);

    // doVisible: the main scheme links it with index 3.
    void KeyDown(uint16_t& key, uint32_t shift) override;
    void Init() override;

private:
    void ChangeRule();
};
