// Small helpers shared by the generated schemes.
#pragma once

#include <memory>

#include "runtime/zelDoData.h"
#include "runtime/zelHub.h"

// A hub with the given number of inputs (informational) and outputs.
inline std::unique_ptr<TZelHub> MakeHub(uint8_t inputs, uint16_t outputs) {
    auto hub = std::make_unique<TZelHub>();
    hub->InCount = inputs;
    hub->SetOutCount(outputs);
    return hub;
}

// A data element whose constant is the integer value.
inline std::unique_ptr<TZelDoData> MakeDoData(int32_t value) {
    auto e = std::make_unique<TZelDoData>();
    SetInt(e->Data, value);
    return e;
}
