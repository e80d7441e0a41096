#include "tests/fakes/serialFake.h"

#include "base/asciiText.h"

#include <algorithm>

using namespace platform;

// ---- the port ----------------------------------------------------------

TFakeSerialPort::TFakeSerialPort(TFakeSerialBackend& o, std::string p, bool ov)
    : path(std::move(p)), overlapped(ov), owner(o), modemStatus(o.script.modemStatus) {}

void TFakeSerialPort::Note(const std::string& call) { owner.Note(call); }

void TFakeSerialPort::Deliver(const std::string& bytes, uint32_t alsoEvents) {
    std::lock_guard<std::mutex> guard(lock);
    input += bytes;
    pendingEvents |= EvRxChar | alsoEvents;
    changed.notify_all();
}

void TFakeSerialPort::Raise(uint32_t events, uint32_t errors) {
    std::lock_guard<std::mutex> guard(lock);
    pendingEvents |= events;
    pendingErrors |= errors;
    changed.notify_all();
}

void TFakeSerialPort::Vanish() {
    std::lock_guard<std::mutex> guard(lock);
    vanished = true;
    lost = true;
    changed.notify_all();
}

void TFakeSerialPort::SetModemStatus(uint32_t status) {
    std::lock_guard<std::mutex> guard(lock);
    modemStatus = status;
}

std::string TFakeSerialPort::Written() const {
    std::lock_guard<std::mutex> guard(lock);
    return written;
}

bool TFakeSerialPort::DcbApplied() const {
    std::lock_guard<std::mutex> guard(lock);
    return dcbApplied;
}

TCommDcb TFakeSerialPort::AppliedDcb() const {
    std::lock_guard<std::mutex> guard(lock);
    return dcb;
}

TCommTimeouts TFakeSerialPort::AppliedTimeouts() const {
    std::lock_guard<std::mutex> guard(lock);
    return timeouts;
}

uint32_t TFakeSerialPort::Mask() const {
    std::lock_guard<std::mutex> guard(lock);
    return mask;
}

bool TFakeSerialPort::Closed() const {
    std::lock_guard<std::mutex> guard(lock);
    return closed;
}

size_t TFakeSerialPort::Queued() const {
    std::lock_guard<std::mutex> guard(lock);
    return input.size();
}

bool TFakeSerialPort::WaitUntilWaiting(std::chrono::milliseconds limit) const {
    std::unique_lock<std::mutex> guard(lock);
    return changed.wait_for(guard, limit, [&] { return waiting; });
}

int TFakeSerialPort::WaitsStarted() const {
    std::lock_guard<std::mutex> guard(lock);
    return waitsStarted;
}

bool TFakeSerialPort::GetCommState(TCommDcb& d) {
    Note("GetCommState");
    if (owner.script.failGetCommState || Closed()) return false;
    d = owner.script.reportedDcb;
    return true;
}

bool TFakeSerialPort::SetCommState(const TCommDcb& d) {
    Note("SetCommState");
    if (owner.script.failSetCommState || Closed()) return false;
    std::lock_guard<std::mutex> guard(lock);
    dcb = d;
    dcbApplied = true;
    return true;
}

bool TFakeSerialPort::SetupComm(uint32_t inQueue, uint32_t outQueue) {
    Note("SetupComm " + std::to_string(inQueue) + " " + std::to_string(outQueue));
    return !owner.script.failSetupComm && !Closed();
}

bool TFakeSerialPort::SetCommTimeouts(const TCommTimeouts& t) {
    Note("SetCommTimeouts");
    if (owner.script.failTimeouts || Closed()) return false;
    std::lock_guard<std::mutex> guard(lock);
    timeouts = t;
    return true;
}

bool TFakeSerialPort::SetCommMask(uint32_t m) {
    Note("SetCommMask " + std::to_string(m));
    if (owner.script.failMask || Closed()) return false;
    std::lock_guard<std::mutex> guard(lock);
    mask = m;
    ++maskGeneration;
    changed.notify_all();
    return true;
}

bool TFakeSerialPort::PurgeComm(uint32_t flags) {
    Note("PurgeComm " + std::to_string(flags));
    if (owner.script.failPurge || Closed()) return false;
    std::lock_guard<std::mutex> guard(lock);
    if (flags & (PurgeRxAbort | PurgeRxClear)) input.clear();
    return true;
}

bool TFakeSerialPort::WaitCommEvent(uint32_t& events) {
    if (owner.OnWaitEntry) owner.OnWaitEntry(waitsStarted + 1);
    std::unique_lock<std::mutex> guard(lock);
    const uint32_t generation = maskGeneration;
    ++waitsStarted;
    // As the real backends: a wait begun on the mask 0 ends at once.
    if (mask == 0) {
        events = 0;
        return !(closed || vanished);
    }
    waiting = true;
    changed.notify_all();
    changed.wait(guard, [&] { return closed || vanished || generation != maskGeneration || (pendingEvents & mask); });
    waiting = false;
    if (closed || vanished) return false;
    if (generation != maskGeneration) {
        events = 0;
        return true;
    }
    events = pendingEvents & mask;
    pendingEvents &= ~events;
    return true;
}

bool TFakeSerialPort::ClearCommError(uint32_t& errors, TCommStatus& status) {
    if (owner.script.failClearError) return false;
    std::lock_guard<std::mutex> guard(lock);
    if (closed || vanished) return false;
    errors = pendingErrors;
    pendingErrors = 0;
    status = TCommStatus{};
    status.InQueue = uint32_t(input.size());
    return true;
}

bool TFakeSerialPort::GetCommModemStatus(uint32_t& status) {
    if (owner.script.failModemStatus) return false;
    std::lock_guard<std::mutex> guard(lock);
    if (closed || vanished) return false;
    status = modemStatus;
    return true;
}

TTransfer TFakeSerialPort::Read(uint32_t count, std::string& bytes) {
    Note("Read " + std::to_string(count));
    bytes.clear();
    if (owner.script.readNotStarted) return TTransfer::NotStarted;
    std::lock_guard<std::mutex> guard(lock);
    if (closed) return TTransfer::NotStarted;
    if (owner.script.readLost) lost = true;
    if (owner.script.readFails || owner.script.readLost || vanished) return TTransfer::Failed;
    const size_t n = std::min<size_t>(count, input.size());
    bytes = input.substr(0, n);
    input.erase(0, n);
    return TTransfer::Done;
}

TTransfer TFakeSerialPort::Write(std::string_view bytes, uint32_t& count) {
    Note("Write " + std::to_string(bytes.size()));
    count = 0;
    if (owner.script.writeNotStarted) return TTransfer::NotStarted;
    std::lock_guard<std::mutex> guard(lock);
    if (closed) return TTransfer::NotStarted;
    if (owner.script.writeLost) lost = true;
    if (owner.script.writeFails || owner.script.writeLost || vanished) return TTransfer::Failed;
    count = uint32_t(std::min<size_t>(bytes.size(), owner.script.writeLimit));
    written.append(bytes.substr(0, count));
    return TTransfer::Done;
}

uint32_t TFakeSerialPort::SetReplyLength(uint32_t bytes) {
    Note("SetReplyLength " + std::to_string(bytes));
    return owner.script.heldReply;
}

platform::TFraming TFakeSerialPort::LastFraming() const { return owner.script.framing; }

bool TFakeSerialPort::DrainOutput(uint32_t limitMs) {
    Note("DrainOutput " + std::to_string(limitMs));
    return !Closed() && !owner.script.failDrain;
}

bool TFakeSerialPort::FlushFileBuffers() {
    Note("FlushFileBuffers");
    return !owner.script.failFlush && !Closed();
}

void TFakeSerialPort::Close() {
    Note("Close");
    std::lock_guard<std::mutex> guard(lock);
    closed = true;
    changed.notify_all();
}

std::string_view TFakeSerialPort::LossReason() const {
    std::lock_guard<std::mutex> guard(lock);
    return lost ? Loss : std::string_view();
}

// ---- the backend -------------------------------------------------------

TFakeSerialBackend::TFakeSerialBackend() : previous(SetSerialBackend(this)) {}

TFakeSerialBackend::~TFakeSerialBackend() { SetSerialBackend(previous); }

void TFakeSerialBackend::AddDevice(const std::string& path) {
    std::lock_guard<std::mutex> guard(lock);
    devices.push_back(path);
}

void TFakeSerialBackend::Note(const std::string& call) {
    std::lock_guard<std::mutex> guard(lock);
    calls.push_back(call);
}

std::vector<std::string> TFakeSerialBackend::Calls() const {
    std::lock_guard<std::mutex> guard(lock);
    return calls;
}

void TFakeSerialBackend::ClearCalls() {
    std::lock_guard<std::mutex> guard(lock);
    calls.clear();
}

std::vector<std::shared_ptr<TFakeSerialPort>> TFakeSerialBackend::Ports() const {
    std::lock_guard<std::mutex> guard(lock);
    return ports;
}

std::shared_ptr<TFakeSerialPort> TFakeSerialBackend::LastPort() const {
    std::lock_guard<std::mutex> guard(lock);
    for (auto it = ports.rbegin(); it != ports.rend(); ++it)
        if ((*it)->overlapped) return *it;
    return nullptr;
}

std::shared_ptr<TSerialPort> TFakeSerialBackend::CreatePort(const std::string& path, bool overlapped,
                                                            std::string& failure) {
    Note("CreatePort " + path + (overlapped ? " overlapped" : " plain"));
    failure.clear();
    if (script.failCreate) {
        failure = "the script refused it";
        return nullptr;
    }
    std::lock_guard<std::mutex> guard(lock);
    const bool exists =
        std::any_of(devices.begin(), devices.end(), [&](const std::string& d) { return SameTextAscii(d, path); });
    if (!exists) {
        failure = "it does not exist";
        return nullptr;
    }
    // No sharing: a device that is open cannot be opened again.
    for (const auto& p : ports)
        if (SameTextAscii(p->path, path) && !p->Closed()) {
            failure = "another program holds it";
            return nullptr;
        }
    auto port = std::make_shared<TFakeSerialPort>(*this, path, overlapped);
    ports.push_back(port);
    return port;
}

bool TFakeSerialBackend::ListPorts(const std::function<void(const std::string& name)>& each) {
    Note("ListPorts");
    if (!script.listWorks) return false;
    for (const std::string& name : script.portList) each(name);
    return true;
}

bool TFakeSerialBackend::StartThread(TThread& thread, std::function<void()> body) {
    Note("StartThread");
    if (script.failThreadStart) return false;
    return TSerialBackend::StartThread(thread, std::move(body));
}
