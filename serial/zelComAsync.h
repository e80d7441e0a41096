// The asynchronous serial port element: lists the ports, opens one by name
// with the line settings of its properties, writes values to it and delivers
// what the device sends, from a reader thread of its own that turns each
// communication event into an event point call.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/serialPort.h"
#include "platform/threadWait.h"
#include "runtime/Share.h"
#include "base/published.h"

// What went over the open port, for a wire trace.
struct TWireEvent {
    enum TKind { Written, Read, Awaited } Kind;
    std::string_view Bytes;  // Written, Read: the bytes
    // Read: how the bytes were framed as a reply; GivenUp marks the start of
    // a reply whose awaited length was given up.
    platform::TFraming Framing = platform::TFraming::Length;
    bool GivenUp = false;
    uint32_t Length = 0;  // Awaited: the length now awaited, 0 for none
};

class TZelComAsync {
public:
    TZelComAsync();
    // Closes the port, with the close events.
    ~TZelComAsync();
    TZelComAsync(const TZelComAsync&) = delete;
    TZelComAsync& operator=(const TZelComAsync&) = delete;

    // ---- properties (the owning scheme writes them before linking) ----
    std::string Port;
    int32_t BaudRate = 0;
    int32_t Parity = 0;    // 0 none, 1 odd, 2 even, 3 mark, 4 space
    int32_t DataBits = 0;  // data bits minus 5
    int32_t StopBits = 0;  // 0 one, 1 one and a half, 2 two
    int32_t EventChar = 0;
    bool DiscardNull = false;
    bool AbortOnError = false;
    bool ParityCheck = false;
    bool ErrorReplace = false;
    int32_t ErrorChar = 0;
    bool DsrSensitivity = false;
    bool OutxCtsFlow = false;
    bool OutxDsrFlow = false;
    bool TxContinueOnXoff = false;
    int32_t XoffChar = 0;
    int32_t XonChar = 0;
    bool InX = false;
    bool OutX = false;
    int32_t InQueueSize = 0;
    int32_t OutQueueSize = 0;
    int32_t RTS = 0;  // 0 disable, 1 enable, 2 handshake, 3 toggle
    int32_t DTR = 0;  // 0 disable, 1 enable, 2 handshake
    bool EvRxChar = false;
    bool EvRxFlag = false;
    bool EvTxEmpty = false;
    bool EvCTS = false;
    bool EvDSR = false;
    bool EvRLSD = false;
    bool EvBreak = false;
    bool EvErr = false;
    bool EvRing = false;
    bool EvRx80Full = false;
    uint32_t ReadIntervalTimeout = 0;
    uint32_t ReadTotalTimeoutConstant = 0;
    uint32_t ReadTotalTimeoutMultiplier = 0;
    uint32_t WriteTotalTimeoutConstant = 0;
    uint32_t WriteTotalTimeoutMultiplier = 0;
    bool OnlyAvailable = false;
    bool FlushOnClose = false;

    // Told every write, read and awaited length, on the thread that made
    // it; set before the open. Empty: nothing is told.
    std::function<void(const TWireEvent&)> WireWatch;

    // ---- event points ----
    TPointLink onWrite;        // integer: bytes written
    TPointLink onRead;         // string: the bytes read
    TPointLink onPort;         // string: one listed port name
    TPointLink onRxChar;       // integer: bytes in the input queue (reader thread)
    TPointLink onRing;         // null (reader thread)
    TPointLink onCTS;          // integer 0 or 1 (reader thread, open, close)
    TPointLink onDSR;          // integer 0 or 1 (reader thread, open, close)
    TPointLink onRLSD;         // integer 0 or 1 (reader thread, open, close)
    TPointLink onRxFlag;       // null (reader thread)
    TPointLink onBreak;        // null (reader thread)
    TPointLink onRx80Full;     // null (reader thread)
    TPointLink onTxEmpty;      // null (reader thread)
    TPointLink onError;        // null (reader thread)
    TPointLink onBeforeOpen;   // null
    TPointLink onOpen;         // integer: the port number, 0 on failure
    TPointLink onBeforeClose;  // null
    TPointLink onClose;        // null

    // ---- data points, each falling back on the property of its name ----
    TPointLink BaudRatePoint;
    TPointLink PortPoint;
    TPointLink DTRPoint;
    TPointLink RTSPoint;

    // ---- work points ----
    void doOpen(TData& d, uint16_t index);       // 0: d feeds the data points
    void doClose(TData& d, uint16_t index);      // 1
    void doWrite(TData& d, uint16_t index);      // 2: the value to send
    void doRead(TData& d, uint16_t index);       // 3: the number of bytes to read
    void doEnumPorts(TData& d, uint16_t index);  // 4
    // 5: the length in bytes of the reply the exchange awaits next, 0 when
    // it is not known. Received bytes are handed on as soon as that many
    // are queued (all that is queued), and fewer are held until the rest
    // comes, however the line cut them; unknown, once the line has been
    // quiet. Every open starts with 0.
    void doAwait(TData& d, uint16_t index);

    // ---- state, for the schemes' tests and the console programs ----
    bool Opened() const { return opened; }
    bool ReaderRunning() const { return readerThread.Attached(); }
    std::string PortName() const { return portName; }
    // Why the last open failed, said for a technician; empty after one that
    // succeeded. Read on the thread that opened.
    const std::string& OpenFailure() const { return openFailure; }
    // Why the open port went away (unplugged, hung up), said for a
    // technician; empty while it is there, and again after the next open.
    // The loss is told once, as a read that failed: onRead with an empty
    // string, so that an exchange under way fails at once.
    std::string LossReason() const;
    uint32_t EventMask() const { return eventMask; }
    // A reply that was still short of its awaited length when the exchange
    // stopped awaiting it (its watchdog gave up): the bytes that did come,
    // and the length they were short of. Pending while those bytes are held
    // and not yet read; empty when no reply was cut short since the open.
    std::string UnfinishedReply() const;
    uint32_t UnfinishedOf() const { return unfinishedOf; }
    bool UnfinishedReplyPending() const { return unfinishedPending; }
    // The bytes handed on by reads since the open.
    uint64_t BytesRead() const { return bytesRead.load(); }
    // Whether the bytes of the last read were the start of a reply of
    // unknown length that was still arriving (its rest comes in later
    // reads). Asked in the chain of that read's onRead, it is about them.
    bool LastReadUnended() const { return lastReadFraming.load() == platform::TFraming::Unended; }
    // The records built at the last open.
    const platform::TCommDcb& DeviceControl() const { return deviceControl; }
    const platform::TCommTimeouts& Timeouts() const { return timeouts; }
    // Texts of the line errors of the last error event; replaced as a whole
    // by the reader thread, so a copy is always consistent.
    std::vector<std::string> ErrorList() const;

    // Reads ask the driver for at most this many bytes at a time.
    static constexpr int32_t MaxReadCount = 1 << 20;
    // A close waits at most this long for the written bytes to leave.
    static constexpr uint32_t CloseDrainLimitMs = 500;

private:
    bool OpenPort(int32_t dtr, int32_t rts, int32_t baudRate);
    void ClosePort();
    bool QueryModemStatus(platform::TSerialPort& port);
    void RebuildErrorList(platform::TSerialPort& port);
    bool NoteLoss(std::string_view reason);
    void ReportLoss(std::string_view reason);
    void ReaderLoop(const std::shared_ptr<platform::TSerialPort>& port, const std::atomic<bool>& stop);
    void DispatchEvents(platform::TSerialPort& port, uint32_t events, const std::atomic<bool>& stop);

    TPublished<platform::TSerialPort> port;
    platform::TThread readerThread;
    // Shared with the reader thread, which may outlive its element's close
    // when the close came from its own chain.
    std::shared_ptr<std::atomic<bool>> readerStop;
    uint32_t eventMask = 0;
    std::atomic<bool> opened{false};
    std::atomic<bool> closing{false};
    std::atomic<uint8_t> dsrState{0}, ctsState{0}, rlsdState{0};
    platform::TCommStatus lineStatus;  // reader thread only
    platform::TCommTimeouts timeouts;
    platform::TCommDcb deviceControl;
    std::string portName;
    std::string openFailure;
    TPublished<const std::vector<std::string>> errorList;
    std::atomic<bool> lost{false};
    TPublished<const std::string> lossReason;
    std::atomic<uint32_t> awaited{0};
    std::atomic<bool> unfinishedPending{false};
    std::atomic<uint32_t> unfinishedOf{0};
    std::atomic<uint32_t> cutShortOf{0};
    TPublished<const std::string> unfinishedReply;
    std::atomic<uint64_t> bytesRead{0};
    std::atomic<platform::TFraming> lastReadFraming{platform::TFraming::Length};
};
