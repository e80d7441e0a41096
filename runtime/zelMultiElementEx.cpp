#include "zelMultiElementEx.h"

#include "zelEditMultiEx.h"
#include "zelMultiBase.h"

TZelMultiElementEx::TZelMultiElementEx(void* parentWindow) : ParentWindow(parentWindow) {}

TZelMultiElementEx::~TZelMultiElementEx() {
    // 0xFFFF is no inward event's number: the instances are not notified.
    TData none;
    DeleteAll(none, 0xFFFF);
}

void TZelMultiElementEx::SetCreator(TMultiCreator creator) {
    Creator = creator;
    if (Mode == 0 && Creator != nullptr) {
        Current = CreateInstance();
        if (Current != nullptr) Instances.push_back(Current);
    }
}

TZelEditMultiEx* TZelMultiElementEx::CreateInstance() {
    if (Creator == nullptr) return nullptr;
    // An instance built after program start-up runs its start-up routines
    // at once; one built while the outer scheme is built leaves them to the
    // program's single start-up run.
    const bool started = StartupDone;
    StartupDone = false;
    TZelEditMultiEx* boundary = Creator(this, ParentWindow, Owner);
    if (started) RunStartup();
    return boundary;
}

void TZelMultiElementEx::DestroyInstance(TZelEditMultiEx* boundary) {
    if (boundary != nullptr) delete boundary->Scheme;  // destroys its elements and the boundary
}

void TZelMultiElementEx::doWork(TData& d, uint16_t k) {
    if (Current != nullptr) {
        if (k < Current->InEvents.size()) CallEvent(Current->InEvents[k], d);
        return;
    }
    TZelEditMultiEx* temporary = CreateInstance();
    if (temporary == nullptr) return;
    if (k < temporary->InEvents.size()) CallEvent(temporary->InEvents[k], d);
    DestroyInstance(temporary);
}

void TZelMultiElementEx::getValue(TData& r, uint16_t k) {
    if (Current != nullptr) {
        if (k < Current->OutData.size())
            ReadRaw(r, Current->OutData[k]);
        else
            r.DataType = TypeNoValue;
        return;
    }
    TZelEditMultiEx* temporary = CreateInstance();
    if (temporary == nullptr) {
        r.DataType = TypeNoValue;
        return;
    }
    if (k < temporary->OutData.size())
        ReadRaw(r, temporary->OutData[k]);
    else
        r.DataType = TypeNoValue;
    DestroyInstance(temporary);
}

void TZelMultiElementEx::DeleteInstance(TData& d, uint16_t k) {
    const int32_t n = ToInteger(d);
    if (n < 0 || size_t(n) >= Instances.size()) return;
    TZelEditMultiEx* instance = Instances[size_t(n)];
    if (instance->RunningCalls.load() > 0) {
        ShowDebugString("Self destruction is not allowed !!!");
        return;
    }
    if (k < instance->InEvents.size()) CallEvent(instance->InEvents[k], d);  // its last notification
    if (instance == Current) Current = nullptr;
    // Off the list before it goes, so that nothing finds a destroyed instance.
    Instances.erase(Instances.begin() + n);
    DestroyInstance(instance);
}

bool TZelMultiElementEx::Running() const {
    for (const TZelEditMultiEx* instance : Instances)
        if (instance->RunningCalls.load() > 0) return true;
    return false;
}

void TZelMultiElementEx::DeleteAll(TData& d, uint16_t k) {
    for (int32_t n = int32_t(Instances.size()) - 1; n >= 0; --n) {
        SetInt(d, n);
        DeleteInstance(d, k);
    }
}
