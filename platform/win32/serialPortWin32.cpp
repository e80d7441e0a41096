// Serial ports on Windows: the communications API with overlapped I/O. A
// read, a write and the reader thread's wait may be in progress at the same
// time on different threads, so each has a completion record with an event
// of its own; a record without event would make each wait on the handle,
// which any completion signals. Received bytes are reported as whole
// replies (replyFraming.h), however they trickle in.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <mutex>
#include <set>

#include "../../base/asciiText.h"
#include "../portList.h"
#include "../serialPort.h"
#include "../serialPortUse.h"
#include "systemText.h"

namespace platform {

namespace {

static_assert(sizeof(DCB) == sizeof(TCommDcb));
static_assert(sizeof(COMMTIMEOUTS) == sizeof(TCommTimeouts));

// The flag word of a DCB is a run of bit fields behind BaudRate, in the same
// order as the flag bits of TCommDcb.
void ToDcb(const TCommDcb& from, DCB& to) { std::memcpy(&to, &from, sizeof to); }
void FromDcb(const DCB& from, TCommDcb& to) { std::memcpy(static_cast<void*>(&to), &from, sizeof to); }

// Windows refuses a second open of a COM port, Wine does not: the ports
// this process holds are kept here and refused before the system is asked.
class THeldPorts {
public:
    static bool Take(const std::string& key) {
        std::lock_guard<std::mutex> guard(Lock());
        return Keys().insert(key).second;
    }
    static void Give(const std::string& key) {
        std::lock_guard<std::mutex> guard(Lock());
        Keys().erase(key);
    }
    static std::string KeyOf(const std::string& device) { return AsciiUpperText(device); }

private:
    static std::mutex& Lock() {
        static std::mutex lock;
        return lock;
    }
    static std::set<std::string>& Keys() {
        static std::set<std::string> keys;
        return keys;
    }
};

// Why a port could not be opened, for a technician. Windows answers a port
// that another program has open with "access denied".
std::string OpenFailure(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND: return "it does not exist (is the adapter plugged in?)";
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION: return "another program holds it";
        default: return SystemErrorText(error);
    }
}

// How a port that went away answers: an adapter pulled out fails the calls
// in progress and every later one with one of these, depending on the
// driver. Other errors are failures of their own call, not a loss.
const char* LossOf(DWORD error) {
    switch (error) {
        case ERROR_DEVICE_REMOVED: return "the system removed the device (the adapter was unplugged)";
        case ERROR_OPERATION_ABORTED: return "the driver called its transfers off (the adapter was unplugged?)";
        case ERROR_ACCESS_DENIED: return "the driver denied access to it (the adapter was unplugged?)";
        case ERROR_BAD_COMMAND: return "the driver no longer knows it (the adapter was unplugged?)";
        case ERROR_GEN_FAILURE: return "the device stopped working (the adapter was unplugged?)";
        case ERROR_DEVICE_NOT_CONNECTED:
        case ERROR_FILE_NOT_FOUND: return "the device is gone (the adapter was unplugged)";
        default: return nullptr;
    }
}

class TCompletion {
public:
    TCompletion() {
        std::memset(&record, 0, sizeof record);
        record.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    }
    ~TCompletion() {
        if (record.hEvent) CloseHandle(record.hEvent);
    }
    TCompletion(const TCompletion&) = delete;
    TCompletion& operator=(const TCompletion&) = delete;

    bool Usable() const { return record.hEvent != nullptr; }
    OVERLAPPED* Fresh() {
        HANDLE event = record.hEvent;
        std::memset(&record, 0, sizeof record);
        record.hEvent = event;
        ResetEvent(event);
        return &record;
    }
    OVERLAPPED record;
};

class TWin32Port final : public TSerialPort {
public:
    TWin32Port(HANDLE h, std::string heldKey) : handle(h), key(std::move(heldKey)) {}
    ~TWin32Port() override {
        Close();
        Release();
    }

    bool GetCommState(TCommDcb& dcb) override {
        TUse use(*this);
        DCB d;
        std::memset(&d, 0, sizeof d);
        d.DCBlength = sizeof d;
        if (!use || !::GetCommState(use.handle, &d)) return false;
        FromDcb(d, dcb);
        return true;
    }

    bool SetCommState(const TCommDcb& dcb) override {
        TUse use(*this);
        DCB d;
        ToDcb(dcb, d);
        if (!use || !::SetCommState(use.handle, &d)) return false;
        framing.SetLine(dcb.BaudRate, BitsPerCharacter(dcb));
        return true;
    }

    bool SetupComm(uint32_t inQueue, uint32_t outQueue) override {
        TUse use(*this);
        return use && ::SetupComm(use.handle, inQueue, outQueue);
    }

    bool SetCommTimeouts(const TCommTimeouts& t) override {
        TUse use(*this);
        COMMTIMEOUTS c;
        c.ReadIntervalTimeout = t.ReadIntervalTimeout;
        c.ReadTotalTimeoutMultiplier = t.ReadTotalTimeoutMultiplier;
        c.ReadTotalTimeoutConstant = t.ReadTotalTimeoutConstant;
        c.WriteTotalTimeoutMultiplier = t.WriteTotalTimeoutMultiplier;
        c.WriteTotalTimeoutConstant = t.WriteTotalTimeoutConstant;
        return use && ::SetCommTimeouts(use.handle, &c);
    }

    bool SetCommMask(uint32_t newMask) override {
        TUse use(*this);
        if (!use) return false;
        // Recorded before the driver is told, so that a wait starting now
        // either is completed by the driver or finds the mask 0 itself.
        mask = newMask;
        return ::SetCommMask(use.handle, newMask);
    }

    // A gathering under way looks at the new length within a sleep.
    uint32_t SetReplyLength(uint32_t bytes) override { return framing.Await(bytes); }
    TFraming LastFraming() const override { return framing.LastFraming(); }

    bool PurgeComm(uint32_t flags) override {
        TUse use(*this);
        return use && ::PurgeComm(use.handle, flags);
    }

    bool WaitCommEvent(uint32_t& events) override {
        TUse use(*this);
        if (!use || !wait.Usable()) return false;
        DWORD occurred = 0;
        OVERLAPPED* record = wait.Fresh();
        if (!::WaitCommEvent(use.handle, &occurred, record)) {
            if (const DWORD error = GetLastError(); error != ERROR_IO_PENDING) {
                // A driver may refuse a wait on the mask 0: that is the end
                // of the waits asked for, not a failure.
                events = 0;
                return mask == 0 || Gone(error);
            }
            // The mask went to 0 before this wait was started, or while it
            // began and the driver missed it (Wine, now and then, when a
            // close comes just as the wait starts): the wait is called off
            // here, so a close never waits for ever for this thread. The
            // mask is looked at every tenth of a second while the wait lasts.
            DWORD waited = WAIT_TIMEOUT;
            while (mask != 0 && (waited = WaitForSingleObject(record->hEvent, 100)) == WAIT_TIMEOUT) {}
            if (waited == WAIT_TIMEOUT) {
                CancelIoEx(use.handle, record);
                WaitForSingleObject(record->hEvent, INFINITE);
                events = 0;
                return true;
            }
            if (waited != WAIT_OBJECT_0) return false;
            DWORD unused = 0;
            if (!GetOverlappedResult(use.handle, record, &unused, FALSE)) {
                const DWORD error = GetLastError();
                // Called off by the mask 0 of a close: no loss.
                events = 0;
                return mask == 0 || Gone(error);
            }
        }
        if (occurred & EV_RXCHAR) {
            switch (Gather(use.handle)) {
                case TGathered::Failed: return Gone(GetLastError());
                case TGathered::Interrupted: events = 0; return !inUse.Closed();
                // Bytes of an earlier event (they came while the last reply
                // was handed on): nothing to report, the next wait goes on.
                case TGathered::Empty: occurred &= ~DWORD(EV_RXCHAR); break;
                case TGathered::Ready: break;
            }
        }
        events = occurred;
        return true;
    }

    bool DrainOutput(uint32_t limitMs) override {
        TUse use(*this);
        if (!use) return false;
        const ULONGLONG deadline = GetTickCount64() + limitMs;
        for (;;) {
            COMSTAT s;
            if (!QueryQueues(use.handle, s)) return false;
            if (s.cbOutQue == 0) return true;
            if (GetTickCount64() >= deadline || inUse.Closed()) return false;
            Sleep(1);
        }
    }

    bool ClearCommError(uint32_t& errors, TCommStatus& status) override {
        TUse use(*this);
        COMSTAT s;
        if (!use || !QueryQueues(use.handle, s)) return false;
        errors = unreported.exchange(0);
        status = TCommStatus{};
        std::memcpy(&status.Flags, &s, sizeof status.Flags);
        status.InQueue = s.cbInQue;
        status.OutQueue = s.cbOutQue;
        return true;
    }

    bool GetCommModemStatus(uint32_t& status) override {
        TUse use(*this);
        DWORD s = 0;
        if (!use || !::GetCommModemStatus(use.handle, &s)) return false;
        status = s;
        return true;
    }

    TTransfer Read(uint32_t count, std::string& bytes) override {
        TUse use(*this);
        bytes.clear();
        if (!use || !read.Usable()) return TTransfer::NotStarted;
        bytes.resize(count);
        OVERLAPPED* record = read.Fresh();
        DWORD got = 0;
        if (!ReadFile(use.handle, bytes.data(), count, &got, record) && GetLastError() != ERROR_IO_PENDING) {
            Gone(GetLastError());
            bytes.clear();
            return TTransfer::NotStarted;
        }
        if (!GetOverlappedResult(use.handle, record, &got, TRUE)) {
            Gone(GetLastError());
            bytes.clear();
            return TTransfer::Failed;
        }
        bytes.resize(got);
        return TTransfer::Done;
    }

    TTransfer Write(std::string_view data, uint32_t& written) override {
        TUse use(*this);
        written = 0;
        if (!use || !write.Usable()) return TTransfer::NotStarted;
        OVERLAPPED* record = write.Fresh();
        DWORD put = 0;
        if (!WriteFile(use.handle, data.data(), DWORD(data.size()), &put, record) &&
            GetLastError() != ERROR_IO_PENDING) {
            Gone(GetLastError());
            return TTransfer::NotStarted;
        }
        if (!GetOverlappedResult(use.handle, record, &put, TRUE)) {
            Gone(GetLastError());
            return TTransfer::Failed;
        }
        written = put;
        return TTransfer::Done;
    }

    bool FlushFileBuffers() override {
        TUse use(*this);
        return use && ::FlushFileBuffers(use.handle);
    }

    std::string_view LossReason() const override { return loss.Reason(); }

    void Close() override {
        const bool releaseNow = inUse.Close();
        if (!releaseNow) {
            // Transfers under way on other threads end now; the last of them
            // releases the handle.
            if (HANDLE h = handle) CancelIoEx(h, nullptr);
            return;
        }
        Release();
    }

private:
    struct TUse {
        TWin32Port& port;
        HANDLE handle = nullptr;
        explicit TUse(TWin32Port& p) : port(p) {
            if (port.inUse.Enter()) handle = port.handle;
        }
        ~TUse() {
            if (port.inUse.Leave()) port.Release();
        }
        explicit operator bool() const { return handle != nullptr; }
    };

    // Notes the loss that the error tells of (none for an error of the call
    // itself, or for the calls off of a close) and fails.
    bool Gone(DWORD error) {
        if (const char* why = LossOf(error); why && !inUse.Closed()) loss.Mark(why);
        return false;
    }

    // A clear-error query that keeps the error bits for the next one the
    // element makes: the gathering and the drain ask for the queues too.
    bool QueryQueues(HANDLE h, COMSTAT& s) {
        DWORD e = 0;
        std::memset(&s, 0, sizeof s);
        if (!::ClearCommError(h, &e, &s)) return false;
        unreported |= e;
        return true;
    }

    // Gathers the bytes of one reply, looking at the queue in steps of the
    // system's sleep; a close or the mask 0 ends it at once. A reply of
    // known length that came whole is reported without a sleep.
    TGathered Gather(HANDLE h) {
        const auto queued = [&](uint32_t& count) {
            COMSTAT s;
            if (!QueryQueues(h, s)) return false;
            count = s.cbInQue;
            return true;
        };
        const auto pause = [&](std::chrono::microseconds longest) {
            Sleep(DWORD(std::max<int64_t>(1, longest.count() / 1000)));
            return mask != 0 && !inUse.Closed() ? TPause::Go : TPause::Interrupted;
        };
        return framing.Gather(queued, pause);
    }

    void Release() {
        if (HANDLE h = handle.exchange(nullptr)) {
            CloseHandle(h);
            THeldPorts::Give(key);
        }
    }

    std::atomic<HANDLE> handle;
    std::atomic<uint32_t> mask{0};
    std::atomic<uint32_t> unreported{0};
    TReplyFraming framing;
    const std::string key;
    TSerialPortUse inUse;
    TPortLoss loss;
    TCompletion read, write, wait;
};

class TWin32Backend final : public TSerialBackend {
public:
    std::shared_ptr<TSerialPort> CreatePort(const std::string& path, bool overlapped, std::string& failure) override {
        failure.clear();
        std::string device = path;
        // A name that a program put elsewhere opens there.
        if (path.compare(0, DevicePathPrefix.size(), DevicePathPrefix) == 0)
            if (auto registered = RegisteredPortPath(std::string_view(path).substr(DevicePathPrefix.size())))
                device = *registered;
        const std::string key = THeldPorts::KeyOf(device);
        if (!THeldPorts::Take(key)) {
            failure = "this program holds it already";
            return nullptr;
        }
        const HANDLE h = CreateFileA(device.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL | (overlapped ? FILE_FLAG_OVERLAPPED : 0), nullptr);
        if (h == INVALID_HANDLE_VALUE) {
            failure = OpenFailure(GetLastError());
            THeldPorts::Give(key);
            return nullptr;
        }
        return std::make_shared<TWin32Port>(h, key);
    }

    bool ListPorts(const std::function<void(const std::string& name)>& each) override { return ListSystemPorts(each); }
};

}  // namespace

TSerialBackend& SystemSerialBackend() {
    static TWin32Backend backend;
    return backend;
}

}  // namespace platform
