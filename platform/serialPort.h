// Serial port operations as the serial element uses them, with record types
// that mirror the Windows communications API so that the element is written
// once. Backends: Win32 (overlapped I/O), POSIX (termios) and the scripted
// fake of the unit tests, reached through one replaceable backend pointer.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "replyFraming.h"
#include "threadWait.h"

namespace platform {

// The device control block, field for field as the Windows driver takes it
// (28 bytes). Flags holds the driver's flag bits, DcbBinary and its kin.
struct TCommDcb {
    uint32_t DCBlength = 0;
    uint32_t BaudRate = 0;
    uint32_t Flags = 0;
    uint16_t wReserved = 0;
    uint16_t XonLim = 0;
    uint16_t XoffLim = 0;
    uint8_t ByteSize = 0;
    uint8_t Parity = 0;
    uint8_t StopBits = 0;
    char XonChar = 0;
    char XoffChar = 0;
    char ErrorChar = 0;
    char EofChar = 0;
    char EvtChar = 0;
    uint16_t wReserved1 = 0;
};
static_assert(sizeof(TCommDcb) == 28);

enum : uint32_t {
    DcbBinary = 0x0001,
    DcbParity = 0x0002,
    DcbOutxCtsFlow = 0x0004,
    DcbOutxDsrFlow = 0x0008,
    DcbDtrEnable = 0x0010,
    DcbDtrHandshake = 0x0020,
    DcbDtrMask = 0x0030,
    DcbDsrSensitivity = 0x0040,
    DcbTxContinueOnXoff = 0x0080,
    DcbOutX = 0x0100,
    DcbInX = 0x0200,
    DcbErrorChar = 0x0400,
    DcbNull = 0x0800,
    DcbRtsEnable = 0x1000,
    DcbRtsHandshake = 0x2000,
    DcbRtsToggle = 0x3000,
    DcbRtsMask = 0x3000,
    DcbAbortOnError = 0x4000,
};

enum : uint8_t { NoParity = 0, OddParity = 1, EvenParity = 2, MarkParity = 3, SpaceParity = 4 };
enum : uint8_t { OneStopBit = 0, One5StopBits = 1, TwoStopBits = 2 };

// Read interval, read total multiplier, read total constant, write total
// multiplier, write total constant: the driver's own order.
struct TCommTimeouts {
    uint32_t ReadIntervalTimeout = 0;
    uint32_t ReadTotalTimeoutMultiplier = 0;
    uint32_t ReadTotalTimeoutConstant = 0;
    uint32_t WriteTotalTimeoutMultiplier = 0;
    uint32_t WriteTotalTimeoutConstant = 0;
};

// What a clear-error query reports besides the error bits.
struct TCommStatus {
    uint32_t Flags = 0;
    uint32_t InQueue = 0;
    uint32_t OutQueue = 0;
};

// Communication events of the event mask.
enum : uint32_t {
    EvRxChar = 0x0001,
    EvRxFlag = 0x0002,
    EvTxEmpty = 0x0004,
    EvCts = 0x0008,
    EvDsr = 0x0010,
    EvRlsd = 0x0020,
    EvBreak = 0x0040,
    EvErr = 0x0080,
    EvRing = 0x0100,
    EvRx80Full = 0x0400,
};

// Line error bits of a clear-error query.
enum : uint32_t {
    CeRxOver = 0x0001,
    CeOverrun = 0x0002,
    CeRxParity = 0x0004,
    CeFrame = 0x0008,
    CeBreak = 0x0010,
    CeTxFull = 0x0100,
    CeIoe = 0x0400,
    CeMode = 0x8000,
};

// Modem status bits.
enum : uint32_t { MsCtsOn = 0x0010, MsDsrOn = 0x0020, MsRingOn = 0x0040, MsRlsdOn = 0x0080 };

// Purge flags.
enum : uint32_t { PurgeTxAbort = 1, PurgeRxAbort = 2, PurgeTxClear = 4, PurgeRxClear = 8 };

// How a transfer went: it could not be started, it was started and its
// completion reported failure, or it completed. A transfer that failed
// because the device went away also says so in LossReason.
enum class TTransfer { NotStarted, Failed, Done };

// One open port. Every operation may be called from any thread; a read, a
// write and a wait may be in progress at the same time, each with a
// completion record of its own. After Close every operation fails, also one
// that is in progress on another thread, and the object stays valid until
// its last holder lets it go.
class TSerialPort {
public:
    virtual ~TSerialPort() = default;

    virtual bool GetCommState(TCommDcb& dcb) = 0;
    // Fails on settings the driver refuses.
    virtual bool SetCommState(const TCommDcb& dcb) = 0;
    virtual bool SetupComm(uint32_t inQueue, uint32_t outQueue) = 0;
    virtual bool SetCommTimeouts(const TCommTimeouts& timeouts) = 0;
    // A new mask completes a wait in progress with no events.
    virtual bool SetCommMask(uint32_t mask) = 0;
    virtual bool PurgeComm(uint32_t flags) = 0;
    // Waits without time limit for one of the watched events and reports
    // those that occurred; events is 0 when the mask was changed meanwhile.
    // False when the wait cannot go on (port gone, wait refused); a gone
    // port also says so in LossReason. Received bytes are reported as one
    // reply, framed as SetReplyLength says (replyFraming.h).
    virtual bool WaitCommEvent(uint32_t& events) = 0;
    // The length of the reply awaited next, 0 when it is not known: received
    // bytes are then reported as soon as that many are queued, and fewer are
    // held until the rest comes. Returns how many bytes were held as the
    // start of a reply short of the length before; they are reported next.
    virtual uint32_t SetReplyLength(uint32_t bytes) = 0;
    // How the bytes last reported were framed as a reply.
    virtual TFraming LastFraming() const = 0;
    virtual bool ClearCommError(uint32_t& errors, TCommStatus& status) = 0;
    virtual bool GetCommModemStatus(uint32_t& status) = 0;
    // Reads at most count bytes, as the timeouts allow; bytes gets what
    // arrived.
    virtual TTransfer Read(uint32_t count, std::string& bytes) = 0;
    virtual TTransfer Write(std::string_view bytes, uint32_t& written) = 0;
    virtual bool FlushFileBuffers() = 0;
    // Waits, at most limitMs, until the bytes written have left the port;
    // false when some may still be waiting to go out.
    virtual bool DrainOutput(uint32_t limitMs) = 0;
    // Releases the device; idempotent.
    virtual void Close() = 0;
    // Empty while the device is there; once an operation found it gone
    // (unplugged, hung up, removed by the system), why, said for a
    // technician. A text of static storage. A close is not a loss.
    virtual std::string_view LossReason() const = 0;
};

class TSerialBackend {
public:
    virtual ~TSerialBackend() = default;

    // Opens a device path ("\\.\COM3") for reading and writing, exclusively;
    // overlapped for the working handle, plain for a test open. Nothing when
    // the device cannot be opened, and why in failure (the system's reason,
    // said for a technician: "it does not exist", "another program holds it").
    virtual std::shared_ptr<TSerialPort> CreatePort(const std::string& path, bool overlapped, std::string& failure) = 0;

    // Calls each with the name of every known port, in the system's order.
    // False when the list cannot be had at all.
    virtual bool ListPorts(const std::function<void(const std::string& name)>& each) = 0;

    // Starts the reader thread of a port at the highest priority.
    virtual bool StartThread(TThread& thread, std::function<void()> body) {
        return thread.Start(std::move(body), true);
    }
};

// The backend of this system.
TSerialBackend& SystemSerialBackend();

// Whether ports opened from now on ask their driver for low latency (Linux:
// ASYNC_LOW_LATENCY, put back as it was on close; on by default). Drivers
// without the setting are opened as they are.
void SetLowLatencyWanted(bool wanted);
bool LowLatencyWanted();

// The backend the serial element uses: the system's, or the one installed
// with SetSerialBackend (nullptr restores the system's). Returns the one
// installed before, so that installs can nest.
TSerialBackend& SerialBackend();
TSerialBackend* SetSerialBackend(TSerialBackend* backend);

// Start bit, data bits, parity bit and stop bits (one and a half count as two).
uint32_t BitsPerCharacter(const TCommDcb& dcb);

// "\\.\" followed by the port name.
inline constexpr std::string_view DevicePathPrefix = "\\\\.\\";

}  // namespace platform
