// The container through which an outer scheme sees an inner scheme as one
// element with numbered points: inward events (doWork), outward events
// (onEvent), outward data (getValue) and inward data (InData).
#pragma once

#include <vector>

#include "Share.h"

class TZelEditMultiEx;
class TZelMultiElementEx;

// Builds one instance of the inner scheme and returns its boundary object.
using TMultiCreator = TZelEditMultiEx* (*)(TZelMultiElementEx* container, void* parentWindow, void* owner);

class TZelMultiElementEx {
public:
    explicit TZelMultiElementEx(void* parentWindow);
    ~TZelMultiElementEx();
    TZelMultiElementEx(const TZelMultiElementEx&) = delete;
    TZelMultiElementEx& operator=(const TZelMultiElementEx&) = delete;

    TZelEditMultiEx* Current = nullptr;  // the permanent instance, if any
    TMultiCreator Creator = nullptr;
    std::vector<TZelEditMultiEx*> Instances;
    void* ParentWindow = nullptr;
    uint8_t Mode = 0;                 // 0: one permanent instance; otherwise a temporary one per access
    std::vector<TPointLink> onEvent;  // outward events
    std::vector<TPointLink> InData;   // inward data
    void* Owner = nullptr;

    // Stores the creation routine; with Mode 0 builds the permanent instance.
    void SetCreator(TMultiCreator creator);
    TZelEditMultiEx* CreateInstance();

    // Work point family: inward event k.
    void doWork(TData& d, uint16_t k);
    // Getter family: outward data k.
    void getValue(TData& r, uint16_t k);

    void DeleteInstance(TData& d, uint16_t k);
    void DeleteAll(TData& d, uint16_t k);

    // Whether a chain is under way in one of the instances, on any thread.
    bool Running() const;

private:
    static void DestroyInstance(TZelEditMultiEx* boundary);
};
