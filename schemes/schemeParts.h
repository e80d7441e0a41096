// Small helpers shared by the generated schemes.
#pragma once

#include <memory>

#include "runtime/zelHub.h"

// A hub with the given number of inputs (informational) and outputs.
inline std::unique_ptr<TZelHub> MakeHub(uint8_t inputs, uint16_t outputs) {
    auto hub = std::make_unique<TZelHub>();
    hub->InCount = inputs;
    hub->SetOutCount(outputs);
    return hub;
}
