// Records every event of a serial element, from whatever thread it fires,
// as text in firing order: "onBeforeOpen", "onOpen 3", "onRead 'VERS'".
// Tests compare the whole order and wait for events of the reader thread.
#pragma once

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "runtime/Share.h"
#include "serial/zelComAsync.h"

class TSerialEventLog {
public:
    // Links every event point of the element to this log, except those
    // named in keepLinked, which the test links itself.
    explicit TSerialEventLog(TZelComAsync& element, const std::vector<std::string>& keepLinked = {}) {
        Hook(element.onWrite, "onWrite", keepLinked);
        Hook(element.onRead, "onRead", keepLinked);
        Hook(element.onPort, "onPort", keepLinked);
        Hook(element.onRxChar, "onRxChar", keepLinked);
        Hook(element.onRing, "onRing", keepLinked);
        Hook(element.onCTS, "onCTS", keepLinked);
        Hook(element.onDSR, "onDSR", keepLinked);
        Hook(element.onRLSD, "onRLSD", keepLinked);
        Hook(element.onRxFlag, "onRxFlag", keepLinked);
        Hook(element.onBreak, "onBreak", keepLinked);
        Hook(element.onRx80Full, "onRx80Full", keepLinked);
        Hook(element.onTxEmpty, "onTxEmpty", keepLinked);
        Hook(element.onError, "onError", keepLinked);
        Hook(element.onBeforeOpen, "onBeforeOpen", keepLinked);
        Hook(element.onOpen, "onOpen", keepLinked);
        Hook(element.onBeforeClose, "onBeforeClose", keepLinked);
        Hook(element.onClose, "onClose", keepLinked);
    }
    // Unlinks what it linked, so the element may outlive the log.
    ~TSerialEventLog() {
        for (TPointLink* link : hooked) *link = TPointLink{};
    }
    // For an element that has gone before its log.
    void ForgetElement() { hooked.clear(); }
    TSerialEventLog(const TSerialEventLog&) = delete;
    TSerialEventLog& operator=(const TSerialEventLog&) = delete;

    std::vector<std::string> Entries() const {
        std::lock_guard<std::mutex> guard(lock);
        return entries;
    }
    // The entries of one event point, with their values.
    std::vector<std::string> Of(const std::string& name) const {
        std::lock_guard<std::mutex> guard(lock);
        std::vector<std::string> found;
        for (const std::string& e : entries)
            if (e == name || e.rfind(name + " ", 0) == 0) found.push_back(e);
        return found;
    }
    // The raw values that reached one event point.
    std::vector<TData> ValuesOf(const std::string& name) const {
        std::lock_guard<std::mutex> guard(lock);
        std::vector<TData> found;
        for (size_t i = 0; i < entries.size(); ++i)
            if (names[i] == name) found.push_back(values[i]);
        return found;
    }
    void Clear() {
        std::lock_guard<std::mutex> guard(lock);
        entries.clear();
        names.clear();
        values.clear();
    }
    // Waits, generously, until the named event point has fired count times.
    bool WaitFor(const std::string& name, size_t count,
                 std::chrono::milliseconds limit = std::chrono::seconds(10)) const {
        std::unique_lock<std::mutex> guard(lock);
        return arrived.wait_for(guard, limit,
                                [&] { return size_t(std::count(names.begin(), names.end(), name)) >= count; });
    }

    // Text of one value as it appears in the entries.
    static std::string Render(const std::string& name, const TData& d) {
        switch (d.Tag()) {
            case TypeInt: return name + " " + std::to_string(d.IntValue);
            case TypeStr: return name + " '" + d.StrValue + "'";
            case TypeNull: return name;
            default: return name + " <" + std::to_string(d.Tag()) + ">";
        }
    }

private:
    struct TPoint {
        TSerialEventLog* log;
        std::string name;
        void doRecord(TData& d, uint16_t) { log->Add(name, d); }
    };

    void Hook(TPointLink& link, const std::string& name, const std::vector<std::string>& keepLinked) {
        if (std::find(keepLinked.begin(), keepLinked.end(), name) != keepLinked.end()) return;
        points.push_back(std::make_unique<TPoint>(TPoint{this, name}));
        link = MakeLink<&TPoint::doRecord>(0, points.back().get());
        hooked.push_back(&link);
    }

    void Add(const std::string& name, const TData& d) {
        std::lock_guard<std::mutex> guard(lock);
        entries.push_back(Render(name, d));
        names.push_back(name);
        values.push_back(d);
        arrived.notify_all();
    }

    mutable std::mutex lock;
    mutable std::condition_variable arrived;
    std::vector<std::string> entries;
    std::vector<std::string> names;
    std::vector<TData> values;
    std::vector<std::unique_ptr<TPoint>> points;
    std::vector<TPointLink*> hooked;
};
