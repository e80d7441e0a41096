// The base of the suites that drive a real serial element: set as the
// top-level schemes set it, with its reader's onRxChar reading the queue, and
// called through the same link indexes as the schemes call it. Derived
// suites say which port `name` is.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "schemes/lineSettings.h"
#include "serial/zelComAsync.h"
#include "tests/fakes/serialEventLog.h"
#include "tests/unit/testSupport.h"

class SerialElementTest : public ::testing::Test {
protected:
    SerialElementTest() {
        ApplyLineSettings(el);
        el.onRxChar = MakeLink<&TZelComAsync::doRead>(3, &el);
    }
    ~SerialElementTest() override { Close(); }

    void Open() {
        TData d = MakeStr(name);
        el.doOpen(d, 0);
    }
    void Close() {
        TData d;
        el.doClose(d, 1);
    }
    void Write(const std::string& s) {
        TData d = MakeStr(s);
        el.doWrite(d, 2);
    }
    // Everything that reached onRead so far, joined.
    static std::string Received(const TSerialEventLog& log) {
        std::string all;
        for (const TData& d : log.ValuesOf("onRead")) all += d.StrValue;
        return all;
    }
    static bool WaitForBytes(const TSerialEventLog& log, size_t count,
                             std::chrono::milliseconds limit = std::chrono::milliseconds(15000)) {
        const auto end = std::chrono::steady_clock::now() + limit;
        while (Received(log).size() < count) {
            if (std::chrono::steady_clock::now() > end) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return true;
    }

    DispatchOn on;
    std::string name;
    TZelComAsync el;
};
