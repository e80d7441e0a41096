#include "zelComAsync.h"

#include <algorithm>
#include <utility>

#include "base/asciiText.h"

using namespace platform;

namespace {

constexpr uint32_t DtrFlags[] = {0, DcbDtrEnable, DcbDtrHandshake};
constexpr uint32_t RtsFlags[] = {0, DcbRtsEnable, DcbRtsHandshake, DcbRtsToggle};

struct TLineError {
    uint32_t bit;
    const char* text;
};
// In the order the list is built.
constexpr TLineError LineErrors[] = {
    {CeFrame, "Receive Framing Error"},
    {CeRxParity, "Receive Parity Error"},
    {CeOverrun, "Receive Overrun Error"},
    {CeRxOver, "Receive Queue overflow"},
    {CeTxFull, "TX Queue is full"},
    {CeBreak, "Break Detected"},
    {CeIoe, "Port I/O Error"},
    {CeMode, "Requested mode unsupported"},
};

// A wait that fails without the backend knowing why still ends the reader
// thread: the port can deliver nothing more.
constexpr std::string_view WaitFailed = "its wait for events failed";

}  // namespace

TZelComAsync::TZelComAsync() : errorList(std::make_shared<const std::vector<std::string>>()) {}

TZelComAsync::~TZelComAsync() { ClosePort(); }

std::vector<std::string> TZelComAsync::ErrorList() const { return *errorList.Load(); }

std::string TZelComAsync::LossReason() const {
    const std::shared_ptr<const std::string> reason = lossReason.Load();
    return reason ? *reason : std::string();
}

std::string TZelComAsync::UnfinishedReply() const {
    const std::shared_ptr<const std::string> bytes = unfinishedReply.Load();
    return bytes ? *bytes : std::string();
}

// ---- opening -----------------------------------------------------------

void TZelComAsync::doOpen(TData& d, uint16_t) {
    if (opened) return;
    CallEventNull(onBeforeOpen);
    portName = ReadString(d, PortPoint, Port);
    openFailure.clear();
    lossReason.Store(nullptr);
    lost = false;
    awaited = 0;
    unfinishedPending = false;
    unfinishedOf = 0;
    unfinishedReply.Store(nullptr);
    bytesRead = 0;
    lastReadFraming = platform::TFraming::Length;
    const std::string name = portName;
    // The digits after "COM" up to the first other character; the name is
    // at most 6 characters long.
    const int number = name.size() <= 6 ? ParseComPortName(name).Number : 0;
    if (number < 1 || number > 255) {
        openFailure = "\"" + name + "\" is not a port name of COM1 to COM255";
        CallEventInt(onOpen, 0);
        return;
    }
    // Unlinked points whose property is 0 take successive items of the
    // incoming value, so the order of these reads is fixed.
    const int32_t dtr = ReadInteger(d, DTRPoint, DTR);
    const int32_t rts = ReadInteger(d, RTSPoint, RTS);
    const int32_t baudRate = ReadInteger(d, BaudRatePoint, BaudRate);
    if (!OpenPort(dtr, rts, baudRate)) {
        CallEventInt(onOpen, 0);
        return;
    }
    if (std::shared_ptr<TSerialPort> p = port.Load(); p && QueryModemStatus(*p)) {
        if (ctsState) CallEventInt(onCTS, 1);
        if (dsrState) CallEventInt(onDSR, 1);
        if (rlsdState) CallEventInt(onRLSD, 1);
    }
    CallEventInt(onOpen, number);
}

bool TZelComAsync::OpenPort(int32_t dtr, int32_t rts, int32_t baudRate) {
    TSerialBackend& backend = SerialBackend();
    std::shared_ptr<TSerialPort> p = backend.CreatePort(std::string(DevicePathPrefix) + portName, true, openFailure);
    if (!p) return false;
    port.Store(p);
    opened = true;

    if (uint32_t(dtr) > 2) dtr = 0;
    if (uint32_t(rts) > 3) rts = 0;

    TCommDcb dcb;
    p->GetCommState(dcb);
    dcb.DCBlength = sizeof(TCommDcb);
    dcb.BaudRate = uint32_t(baudRate);
    dcb.XonLim = uint16_t(InQueueSize / 4);
    dcb.XoffLim = uint16_t(InQueueSize / 4);
    // Codes outside the tables go to the driver as they are, which refuses
    // them.
    dcb.ByteSize = uint8_t(DataBits + 5);
    dcb.Parity = uint8_t(Parity);
    dcb.StopBits = uint8_t(StopBits);
    dcb.EvtChar = char(EventChar & 0xFF);
    dcb.XonChar = char(XonChar & 0xFF);
    dcb.XoffChar = char(XoffChar & 0xFF);
    uint32_t flags = DcbBinary | DtrFlags[dtr] | RtsFlags[rts];
    if (DiscardNull) flags |= DcbNull;
    if (AbortOnError) flags |= DcbAbortOnError;
    if (ParityCheck) flags |= DcbParity;
    if (DsrSensitivity) flags |= DcbDsrSensitivity;
    if (OutxCtsFlow) flags |= DcbOutxCtsFlow;
    if (OutxDsrFlow) flags |= DcbOutxDsrFlow;
    if (TxContinueOnXoff) flags |= DcbTxContinueOnXoff;
    if (InX) flags |= DcbInX;
    if (OutX) flags |= DcbOutX;
    if (ParityCheck && ErrorReplace) {
        flags |= DcbErrorChar;
        dcb.ErrorChar = char(ErrorChar & 0xFF);
    }
    dcb.Flags = flags;
    deviceControl = dcb;

    eventMask = 0;
    if (EvRxChar) eventMask |= platform::EvRxChar;
    if (EvRxFlag) eventMask |= platform::EvRxFlag;
    if (EvTxEmpty) eventMask |= platform::EvTxEmpty;
    if (EvCTS) eventMask |= platform::EvCts;
    if (EvDSR) eventMask |= platform::EvDsr;
    if (EvRLSD) eventMask |= platform::EvRlsd;
    if (EvBreak) eventMask |= platform::EvBreak;
    if (EvErr) eventMask |= platform::EvErr;
    if (EvRing) eventMask |= platform::EvRing;
    if (EvRx80Full) eventMask |= platform::EvRx80Full;

    timeouts.ReadIntervalTimeout = ReadIntervalTimeout;
    timeouts.ReadTotalTimeoutMultiplier = ReadTotalTimeoutMultiplier;
    timeouts.ReadTotalTimeoutConstant = ReadTotalTimeoutConstant;
    timeouts.WriteTotalTimeoutMultiplier = WriteTotalTimeoutMultiplier;
    timeouts.WriteTotalTimeoutConstant = WriteTotalTimeoutConstant;

    const bool purged = p->PurgeComm(PurgeTxClear | PurgeRxClear);
    p->SetupComm(uint32_t(InQueueSize), uint32_t(OutQueueSize));
    const char* refused = !purged                         ? "its queues could not be cleared"
                          : !p->SetCommState(dcb)         ? "it refused the line settings"
                          : !p->SetCommTimeouts(timeouts) ? "it refused the timeouts"
                          : !p->SetCommMask(eventMask)    ? "it refused the event mask"
                                                          : nullptr;
    if (refused) {
        openFailure = refused;
        ClosePort();
        return false;
    }
    if (eventMask != 0) {
        auto stop = std::make_shared<std::atomic<bool>>(false);
        readerStop = stop;
        const bool started = backend.StartThread(readerThread, [this, p, stop] { ReaderLoop(p, *stop); });
        if (!started) {
            openFailure = "its reader thread could not be started";
            readerStop.reset();
            ClosePort();
            return false;
        }
    }
    return true;
}

bool TZelComAsync::QueryModemStatus(TSerialPort& p) {
    uint32_t status = 0;
    if (!opened || !p.GetCommModemStatus(status)) return false;
    ctsState = (status & MsCtsOn) ? 1 : 0;
    dsrState = (status & MsDsrOn) ? 1 : 0;
    rlsdState = (status & MsRlsdOn) ? 1 : 0;
    return true;
}

// ---- closing -----------------------------------------------------------

void TZelComAsync::doClose(TData&, uint16_t) { ClosePort(); }

void TZelComAsync::ClosePort() {
    // A second closer (another thread, or a handler of the close events)
    // finds the close under way and does nothing.
    if (!opened || closing.exchange(true)) return;
    CallEventNull(onBeforeClose);
    std::shared_ptr<TSerialPort> p = port.Load();
    if (readerThread.Attached()) {
        // From here on the reader thread fires nothing; the new mask
        // completes its wait, and it ends on its own.
        if (readerStop) readerStop->store(true);
        if (p) p->SetCommMask(0);
        // A close from the reader thread's own chain cannot wait for its
        // thread: the thread ends as soon as that chain returns to it.
        if (readerThread.IsCurrent())
            readerThread.Detach();
        else
            readerThread.Join();
    }
    readerStop.reset();
    if (p) {
        // What was written last ("PUSK" right before the close) goes out
        // before the port is let go: the output is purged only when it did
        // not leave in time, and a purge would throw away what still waits.
        const bool drained = p->DrainOutput(CloseDrainLimitMs);
        if (FlushOnClose) p->FlushFileBuffers();
        p->PurgeComm(drained ? PurgeRxAbort | PurgeRxClear : PurgeTxAbort | PurgeRxAbort | PurgeTxClear | PurgeRxClear);
    }
    CallEventInt(onCTS, 0);
    CallEventInt(onDSR, 0);
    CallEventInt(onRLSD, 0);
    port.Store(nullptr);
    if (p) p->Close();
    p.reset();
    CallEventNull(onClose);
    opened = false;
    closing = false;
}

// ---- the reader thread -------------------------------------------------

void TZelComAsync::ReaderLoop(const std::shared_ptr<TSerialPort>& p, const std::atomic<bool>& stop) {
    // Once stop is set the element may already be gone (a close from this
    // thread's own chain); nothing of it is touched after that.
    while (!stop) {
        uint32_t events = 0;
        if (!p->WaitCommEvent(events)) {
            // A failed wait would fail again at once: the thread ends rather
            // than spin, and leaves the port quiet. Unless a close asked for
            // it, the port is gone, and whoever waits for a reply must hear
            // it now, not from a watchdog.
            if (!stop) {
                const std::string_view known = p->LossReason();
                const std::string reason(known.empty() ? WaitFailed : known);
                p->SetCommMask(0);
                p->PurgeComm(PurgeTxClear | PurgeRxClear);
                if (!stop) ReportLoss(reason);
            }
            return;
        }
        if (!stop && events != 0) DispatchEvents(*p, events, stop);
    }
}

void TZelComAsync::DispatchEvents(TSerialPort& p, uint32_t events, const std::atomic<bool>& stop) {
    if ((events & platform::EvRxChar) && !stop) {
        uint32_t errors = 0;
        if (p.ClearCommError(errors, lineStatus) && !stop) CallEventInt(onRxChar, int32_t(lineStatus.InQueue));
    }
    if ((events & platform::EvTxEmpty) && !stop) CallEventNull(onTxEmpty);
    if ((events & platform::EvBreak) && !stop) CallEventNull(onBreak);
    if ((events & platform::EvRing) && !stop) CallEventNull(onRing);
    if ((events & platform::EvCts) && !stop && QueryModemStatus(p) && !stop) CallEventInt(onCTS, ctsState);
    if ((events & platform::EvDsr) && !stop && QueryModemStatus(p) && !stop) CallEventInt(onDSR, dsrState);
    if ((events & platform::EvRxFlag) && !stop) CallEventNull(onRxFlag);
    if ((events & platform::EvRlsd) && !stop && QueryModemStatus(p) && !stop) CallEventInt(onRLSD, rlsdState);
    if ((events & platform::EvErr) && !stop) {
        if (!AbortOnError) RebuildErrorList(p);
        if (!stop) CallEventNull(onError);
    }
    if ((events & platform::EvRx80Full) && !stop) CallEventNull(onRx80Full);
}

void TZelComAsync::RebuildErrorList(TSerialPort& p) {
    uint32_t errors = 0;
    if (!opened || !p.ClearCommError(errors, lineStatus)) return;
    auto list = std::make_shared<std::vector<std::string>>();
    for (const TLineError& e : LineErrors) {
        if (!(errors & e.bit)) continue;
        if (e.bit == CeRxParity && !ParityCheck) continue;
        list->push_back(e.text);
    }
    errorList.Store(std::move(list));
}

// ---- the port going away ----------------------------------------------

// Keeps the first loss of this open; true for that first one.
bool TZelComAsync::NoteLoss(std::string_view reason) {
    if (lost.exchange(true)) return false;
    lossReason.Store(std::make_shared<const std::string>(reason));
    return true;
}

// Told as the failed read that the schemes already take for a failed
// exchange; whichever thread finds the loss first tells it, once. Nothing of
// the element is touched after the event (its chain may close or end it).
void TZelComAsync::ReportLoss(std::string_view reason) {
    if (NoteLoss(reason)) CallEventStr(onRead, std::string());
}

// ---- transfers ---------------------------------------------------------

void TZelComAsync::doRead(TData& d, uint16_t) {
    int32_t count = ToInteger(d);
    std::shared_ptr<TSerialPort> p = port.Load();
    if (!opened || !p) return;
    // A negative count reads nothing; a huge one would only allocate.
    if (count < 0) count = 0;
    if (count > MaxReadCount) count = MaxReadCount;
    std::string bytes;
    const TTransfer result = p->Read(uint32_t(count), bytes);
    const std::string loss(result == TTransfer::Done ? std::string_view() : p->LossReason());
    switch (result) {
        case TTransfer::NotStarted:
            p.reset();
            if (!loss.empty()) ReportLoss(loss);
            return;
        case TTransfer::Failed:
            p.reset();
            // The read's own empty result tells the loss.
            if (!loss.empty()) NoteLoss(loss);
            CallEventStr(onRead, std::string());
            return;
        case TTransfer::Done:
            lastReadFraming = p->LastFraming();
            bytesRead += bytes.size();
            p.reset();
            // Kept before it goes on: whoever waits for it sees it once the
            // pending mark is gone.
            bool givenUp = false;
            if (unfinishedPending) {
                unfinishedReply.Store(std::make_shared<const std::string>(bytes));
                unfinishedOf = cutShortOf.load();
                unfinishedPending = false;
                givenUp = true;
            }
            if (WireWatch) WireWatch({TWireEvent::Read, bytes, lastReadFraming.load(), givenUp});
            CallEventStr(onRead, std::move(bytes));
            return;
    }
}

void TZelComAsync::doWrite(TData& d, uint16_t) {
    const std::string bytes = ToString(d);
    std::shared_ptr<TSerialPort> p = port.Load();
    if (!opened || !p) return;
    uint32_t written = 0;
    const TTransfer result = p->Write(bytes, written);
    if (WireWatch) WireWatch({TWireEvent::Written, std::string_view(bytes).substr(0, written)});
    const std::string loss(result == TTransfer::Done ? std::string_view() : p->LossReason());
    p.reset();
    if (result != TTransfer::NotStarted) CallEventInt(onWrite, result == TTransfer::Done ? int32_t(written) : 0);
    // Nothing listens to the written count in the schemes: a write that
    // found the port gone tells the loss as a failed read as well.
    if (!loss.empty()) ReportLoss(loss);
}

void TZelComAsync::doAwait(TData& d, uint16_t) {
    const int32_t asked = ToInteger(d);
    const uint32_t length = asked < 0 ? 0 : std::min(uint32_t(asked), platform::GatherMostBytes);
    std::shared_ptr<TSerialPort> p = port.Load();
    if (!opened || !p) return;
    const uint32_t before = awaited.exchange(length);
    if (WireWatch) WireWatch({TWireEvent::Awaited, {}, platform::TFraming::Length, false, length});
    if (length != 0) {
        p->SetReplyLength(length);
        return;
    }
    // Marked before the port lets the held bytes go, so that the read that
    // takes them keeps them.
    cutShortOf = before;
    unfinishedPending = true;
    if (p->SetReplyLength(0) == 0) unfinishedPending = false;
}

// ---- the port list -----------------------------------------------------

void TZelComAsync::doEnumPorts(TData&, uint16_t) {
    TSerialBackend& backend = SerialBackend();
    backend.ListPorts([&](const std::string& name) {
        if (OnlyAvailable) {
            std::string failure;
            std::shared_ptr<TSerialPort> test =
                backend.CreatePort(std::string(DevicePathPrefix) + name, false, failure);
            if (!test) return;
            // Closed before the name goes out, so that whoever gets it can
            // open the port at once.
            test->Close();
        }
        CallEventStr(onPort, name);
    });
}
