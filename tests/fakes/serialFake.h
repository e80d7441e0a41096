// A scripted serial backend for the unit tests. It stands in for the
// system's backend while it exists: a test decides which device paths exist,
// which steps fail and what the modem lines show, delivers bytes and events
// to an open port, and sees every call the element made and every byte it
// wrote.
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/serialPort.h"

class TFakeSerialBackend;

// What fails, and what the port reports. Read whenever a call is made; a
// test changes it only while no reader thread runs (the modem lines of a
// running port change through TFakeSerialPort::SetModemStatus).
struct TFakeSerialScript {
    bool failCreate = false;
    bool failGetCommState = false;
    bool failSetCommState = false;
    bool failSetupComm = false;
    bool failTimeouts = false;
    bool failMask = false;
    bool failPurge = false;
    bool failThreadStart = false;
    bool failModemStatus = false;
    bool failClearError = false;
    bool failFlush = false;
    bool failDrain = false;  // the output does not leave in time
    bool readNotStarted = false;
    bool readFails = false;
    bool writeNotStarted = false;
    bool writeFails = false;
    // The transfer fails as one does on an adapter that was pulled out: the
    // port reports the loss from then on (the wait still goes on).
    bool readLost = false;
    bool writeLost = false;
    // What SetReplyLength says was held of a reply short of its length.
    uint32_t heldReply = 0;
    // How LastFraming says the bytes reported last were framed.
    platform::TFraming framing = platform::TFraming::Length;
    // A write takes at most this many bytes, as one that timed out would.
    uint32_t writeLimit = 0xFFFFFFFF;
    uint32_t modemStatus = 0;
    // The device control block that GetCommState reports.
    platform::TCommDcb reportedDcb{};
    // When the list is asked for: false fails it.
    bool listWorks = true;
    std::vector<std::string> portList;
};

class TFakeSerialPort : public platform::TSerialPort {
public:
    TFakeSerialPort(TFakeSerialBackend& owner, std::string path, bool overlapped);

    // ---- the device's side ----
    // Bytes arrive: they join the input queue and raise the byte-received
    // event, together with the further events given.
    void Deliver(const std::string& bytes, uint32_t alsoEvents = 0);
    // Communication events occur; errors are the bits that the next
    // clear-error query reports.
    void Raise(uint32_t events, uint32_t errors = 0);
    // The device goes away: the wait fails, transfers fail, and the port
    // reports the loss.
    void Vanish();
    void SetModemStatus(uint32_t status);

    // ---- what the element did ----
    const std::string path;
    const bool overlapped;
    std::string Written() const;
    bool DcbApplied() const;
    platform::TCommDcb AppliedDcb() const;
    platform::TCommTimeouts AppliedTimeouts() const;
    uint32_t Mask() const;
    bool Closed() const;
    size_t Queued() const;
    // Waits (generously) until the reader thread is inside a wait.
    bool WaitUntilWaiting(std::chrono::milliseconds limit = std::chrono::seconds(10)) const;
    // How many waits the reader thread has begun.
    int WaitsStarted() const;

    // ---- TSerialPort ----
    bool GetCommState(platform::TCommDcb& dcb) override;
    bool SetCommState(const platform::TCommDcb& dcb) override;
    bool SetupComm(uint32_t inQueue, uint32_t outQueue) override;
    bool SetCommTimeouts(const platform::TCommTimeouts& timeouts) override;
    bool SetCommMask(uint32_t mask) override;
    bool PurgeComm(uint32_t flags) override;
    bool WaitCommEvent(uint32_t& events) override;
    bool ClearCommError(uint32_t& errors, platform::TCommStatus& status) override;
    bool GetCommModemStatus(uint32_t& status) override;
    platform::TTransfer Read(uint32_t count, std::string& bytes) override;
    platform::TTransfer Write(std::string_view bytes, uint32_t& written) override;
    bool FlushFileBuffers() override;
    bool DrainOutput(uint32_t limitMs) override;
    uint32_t SetReplyLength(uint32_t bytes) override;
    platform::TFraming LastFraming() const override;
    void Close() override;
    std::string_view LossReason() const override;

    static constexpr std::string_view Loss = "the script pulled it out";

private:
    void Note(const std::string& call);

    TFakeSerialBackend& owner;
    mutable std::mutex lock;
    mutable std::condition_variable changed;
    std::string input;
    std::string written;
    uint32_t mask = 0;
    uint32_t maskGeneration = 0;
    uint32_t pendingEvents = 0;
    uint32_t pendingErrors = 0;
    uint32_t modemStatus = 0;
    bool waiting = false;
    int waitsStarted = 0;
    bool vanished = false;
    bool lost = false;
    bool closed = false;
    bool dcbApplied = false;
    platform::TCommDcb dcb{};
    platform::TCommTimeouts timeouts{};
};

class TFakeSerialBackend : public platform::TSerialBackend {
public:
    // Installs itself as the serial backend for its lifetime, and puts the
    // one before back afterwards.
    TFakeSerialBackend();
    ~TFakeSerialBackend() override;
    TFakeSerialBackend(const TFakeSerialBackend&) = delete;
    TFakeSerialBackend& operator=(const TFakeSerialBackend&) = delete;

    // Device paths that can be opened ("\\.\COM3"), compared ignoring case
    // as the system does.
    void AddDevice(const std::string& path);
    TFakeSerialScript script;
    // Called by a port's reader thread at the entry of each wait with the
    // wait's number on that port (1 for the first), before the wait looks at
    // anything: a test can hold the thread there to place a close between
    // two waits. Set before the port is opened.
    std::function<void(int wait)> OnWaitEntry;

    // The calls the element made, in order ("SetCommMask 1", "PurgeComm 15",
    // "CreatePort \\.\COM3 overlapped"); waits of the reader thread and
    // queries of its events are not listed.
    std::vector<std::string> Calls() const;
    void ClearCalls();
    // The ports created so far, test opens included.
    std::vector<std::shared_ptr<TFakeSerialPort>> Ports() const;
    // The last working (overlapped) port, or nothing.
    std::shared_ptr<TFakeSerialPort> LastPort() const;

    std::shared_ptr<platform::TSerialPort> CreatePort(const std::string& path, bool overlapped,
                                                      std::string& failure) override;
    bool ListPorts(const std::function<void(const std::string& name)>& each) override;
    bool StartThread(platform::TThread& thread, std::function<void()> body) override;

private:
    friend class TFakeSerialPort;
    void Note(const std::string& call);

    platform::TSerialBackend* previous = nullptr;
    mutable std::mutex lock;
    std::vector<std::string> devices;
    std::vector<std::string> calls;
    std::vector<std::shared_ptr<TFakeSerialPort>> ports;
};
