// The network both top-level schemes share: the hub in front of the serial
// port's writes, the probe and the upload in their containers, the router
// that hands each reply to one or the other, the serial port element with
// the exchange's line settings, and the port pick, which keeps the chosen
// name for the serial element, closes the port in use and starts the probe.
// Each top-level scheme owns these elements as one member, in its place in
// the scheme's creation order, and says where the network's outward points
// go: the texts and controls of the window, or the terminal's.
#pragma once

#include <memory>

#include "runtime/zelCommutator.h"
#include "runtime/zelEventFromData.h"
#include "runtime/zelHub.h"
#include "runtime/zelMultiElementEx.h"
#include "serial/zelComAsync.h"

struct TExchange {
    std::unique_ptr<TZelHub> WriteHub;
    std::unique_ptr<TZelMultiElementEx> Detector;
    std::unique_ptr<TZelMultiElementEx> Uploader;
    std::unique_ptr<TZelCommutator> ReplyRouter;
    std::unique_ptr<TZelComAsync> SerialPort;
    std::unique_ptr<TZelHub> ClosePortHub;  // in 0: close the port (the program's own close)
    std::unique_ptr<TZelEventFromData> PortName;
    std::unique_ptr<TZelHub> PortPickHub;  // in 0: a port picked, its name chained with item data
};

// Where the network's outward points lead; an unlinked one leads nowhere.
struct TExchangeOutlets {
    TPointLink Status;    // the probe's status line (string)
    TPointLink NotFound;  // the probe found no device (its onNotFound)
    TPointLink Found;     // the probe identified the device
    TPointLink Progress;  // acknowledged blocks (integer)
    TPointLink Success;   // the upload's final acknowledgement
    TPointLink Error;     // the upload's failure: the reply's hexadecimal text, or 3 for silence
    TPointLink CRC;       // the new running CRC text, to keep
    TPointLink CRCRead;   // data: the running CRC text as last kept
    TPointLink Port;      // one listed port name
};

// Creates the elements in the order they are listed above.
void CreateExchange(TExchange& x, void* parentWindow, void* owner);

// Links the network within itself and to the outlets, in the order the
// window scheme has always built these links.
void LinkExchange(TExchange& x, const TExchangeOutlets& to);
