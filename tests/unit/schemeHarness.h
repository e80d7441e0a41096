// Hosts one nested scheme in a container, the way the main window scheme
// does, with every outward event recorded in one shared log, for checking
// what a scheme does and in which order.
#pragma once

#include <string>
#include <vector>

#include "runtime/zelEditMultiEx.h"
#include "runtime/zelEventFromData.h"
#include "runtime/zelMultiElementEx.h"
#include "tests/unit/testSupport.h"

class TSchemeHarness {
public:
    // names: one label per outward event, in the container's order.
    TSchemeHarness(const std::vector<std::string>& names, size_t inwardData) : container(nullptr) {
        container.onEvent.resize(names.size());
        container.InData.resize(inwardData);
        for (const std::string& name : names) recorders.emplace_back(name, &log);
        for (size_t k = 0; k < names.size(); ++k) container.onEvent[k] = recorders[k].Link(uint16_t(k));
    }

    void Build(TMultiCreator creator) { container.SetCreator(creator); }

    // Inward event k with the value v.
    void Fire(uint16_t k, TData v) { CallEvent(MakeLink<&TZelMultiElementEx::doWork>(k, &container), v); }

    // Outward data k as an outer reader with default def sees it.
    int32_t ReadInteger(uint16_t k, int32_t def) {
        TData none;
        return ::ReadInteger(none, MakeLink<&TZelMultiElementEx::getValue>(k, &container), def);
    }

    // The labels of the log from position `from` on.
    std::vector<std::string> Labels(size_t from = 0) const {
        std::vector<std::string> out;
        for (size_t i = from; i < log.size(); ++i) out.push_back(log[i].label);
        return out;
    }
    size_t CountOf(const std::string& label) const {
        size_t n = 0;
        for (const auto& e : log) n += e.label == label;
        return n;
    }
    // The values recorded under label, in order.
    std::vector<TData> ValuesOf(const std::string& label) const {
        std::vector<TData> out;
        for (const auto& e : log)
            if (e.label == label) out.push_back(e.value);
        return out;
    }

    std::vector<TRecorder::TEntry> log;
    std::vector<TRecorder> recorders;
    TZelMultiElementEx container;
};
