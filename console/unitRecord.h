// Records a factory can keep: one JSON object a line for every unit the
// flasher served, failed ones included, flushed as soon as it is written so
// that a crash loses none.
#pragma once

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <mutex>
#include <string>

struct TUnitRecord {
    std::string Time;           // when the unit's session began: UTC, ISO 8601
    std::string Port;           // as the user named it
    std::string DeviceName;     // Windows-1251, from the identification reply
    std::string DeviceVersion;  // Windows-1251
    size_t ImageBytes = 0;
    uint16_t ImageCrc = 0;    // CRC-16/MODBUS of the image sent
    std::string ImageFile;    // empty for the built-in image
    std::string ImageFormat;  // "built-in", or how the file was read
    std::string ImageSha256;  // of the image sent
    int Exit = 0;             // the flasher's exit status for the unit
    std::string Detail;       // why it failed, as the Detail line says (UTF-8)
    double Seconds = 0;
    int BlocksAcknowledged = 0;
    std::string TraceFile;  // the unit's wire trace; empty for none
    // The adapter, as far as the system tells (empty: unknown).
    std::string UsbVendor, UsbProduct, Serial, Location;
    std::string Station;  // the station's name
    // On a station: the unit's number on its port, and the station's passed
    // and failed units counted with this one; -1 elsewhere.
    int Unit = -1, Passed = -1, Failed = -1;
};

// The moment as the records write it.
std::string UtcNow();
// The outcome's name in the records: "updated", "transfer failed",
// "no device", "port unavailable", "interrupted" (by any signal).
std::string OutcomeName(int exit);
// The name and version out of the status line "Устройство: %1   Текущая
// версия ПО: %2"; false for another text.
bool ParseStatusLine(const std::string& line, std::string& name, std::string& version);

class TUnitRecordFile {
public:
    // "-" is the standard output; a file is appended to. False with why in
    // failure when it cannot be written.
    bool Open(const std::string& path, std::string& failure);
    ~TUnitRecordFile();
    bool IsOpen() const { return file_ != nullptr; }
    // From any session's thread: a record is one line, never mixed with
    // another's, and always begins a line of its own, whatever the file
    // held or an earlier write cut short. A record that cannot be written
    // is said on standard error at once; false then.
    bool Write(const TUnitRecord& record);
    // Whether any record was lost.
    bool Failed() const { return failed_; }

private:
    std::mutex lock_;
    std::FILE* file_ = nullptr;
    std::string path_;
    bool own_ = false;
    bool newLineFirst_ = false;  // the file does not end with a whole line
    std::atomic<bool> failed_{false};
};
