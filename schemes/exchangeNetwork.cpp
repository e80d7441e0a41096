#include "exchangeNetwork.h"

#include "schemes/lineSettings.h"
#include "schemes/schemeParts.h"

void CreateExchange(TExchange& x, void* parentWindow, void* owner) {
    x.WriteHub = MakeHub(2, 1);

    x.Detector = std::make_unique<TZelMultiElementEx>(parentWindow);
    x.Detector->Mode = 0;
    x.Detector->Owner = owner;
    x.Detector->onEvent.resize(5);
    x.Detector->InData.resize(0);

    // The upload's seventh outward event says how long the awaited reply
    // is, for the serial element's framing.
    x.Uploader = std::make_unique<TZelMultiElementEx>(parentWindow);
    x.Uploader->Mode = 0;
    x.Uploader->Owner = owner;
    x.Uploader->onEvent.resize(7);
    x.Uploader->InData.resize(1);

    x.ReplyRouter = std::make_unique<TZelCommutator>();
    x.ReplyRouter->InCount = 1;
    x.ReplyRouter->SetOutCount(2);

    x.SerialPort = std::make_unique<TZelComAsync>();
    ApplyLineSettings(*x.SerialPort);

    x.ClosePortHub = MakeHub(2, 1);
    x.PortName = std::make_unique<TZelEventFromData>();
    x.PortPickHub = MakeHub(1, 3);
}

void LinkExchange(TExchange& x, const TExchangeOutlets& to) {
    TZelMultiElementEx* detector = x.Detector.get();
    TZelMultiElementEx* uploader = x.Uploader.get();
    TZelComAsync* port = x.SerialPort.get();
    TZelHub* writes = x.WriteHub.get();

    writes->onEvent[0] = MakeLink<&TZelComAsync::doWrite>(2, port);    // WriteHub -> SerialPort.doWrite
    detector->onEvent[0] = MakeLink<&TZelHub::doEvent>(0, writes);     // probe onSend -> WriteHub
    detector->onEvent[1] = to.Status;                                  // probe onStatus
    detector->onEvent[2] = MakeLink<&TZelComAsync::doOpen>(0, port);   // probe onOpenPort -> SerialPort.doOpen
    detector->onEvent[3] = to.NotFound;                                // probe onNotFound
    detector->onEvent[4] = to.Found;                                   // probe onFound
    uploader->onEvent[0] = to.Progress;                                // upload onProgress
    uploader->onEvent[1] = MakeLink<&TZelHub::doEvent>(1, writes);     // upload onSend -> WriteHub
    uploader->onEvent[2] = to.Success;                                 // upload onSuccess
    uploader->onEvent[3] = to.Error;                                   // upload onError
    uploader->onEvent[4] = to.CRC;                                     // upload onCRC
    uploader->onEvent[6] = MakeLink<&TZelComAsync::doAwait>(5, port);  // upload onAwait -> SerialPort.doAwait
    uploader->InData[0] = to.CRCRead;                                  // upload CRC
    x.ReplyRouter->OutIndex = MakeLink<&TZelMultiElementEx::getValue>(0, detector);  // probe Identified
    x.ReplyRouter->onEvent[0] = MakeLink<&TZelMultiElementEx::doWork>(2, detector);  // -> probe doReply
    x.ReplyRouter->onEvent[1] = MakeLink<&TZelMultiElementEx::doWork>(0, uploader);  // -> upload doReply
    port->onRead = MakeLink<&TZelCommutator::doWork>(0, x.ReplyRouter.get());        // SerialPort.onRead -> ReplyRouter
    port->PortPoint = MakeLink<&TZelEventFromData::getValue>(0, x.PortName.get());   // SerialPort.Port
    port->onRxChar = MakeLink<&TZelComAsync::doRead>(3, port);                       // each batch read at once
    port->onPort = to.Port;                                                          // SerialPort.onPort
    port->onOpen = MakeLink<&TZelMultiElementEx::doWork>(0, detector);               // -> probe doOpenResult
    x.ClosePortHub->onEvent[0] = MakeLink<&TZelComAsync::doClose>(1, port);
    // A new pick closes the port in use before the probe opens the new one.
    x.PortPickHub->onEvent[0] = MakeLink<&TZelHub::doEvent>(1, x.ClosePortHub.get());
    x.PortPickHub->onEvent[1] = MakeLink<&TZelEventFromData::doData>(0, x.PortName.get());
    x.PortPickHub->onEvent[2] = MakeLink<&TZelMultiElementEx::doWork>(1, detector);  // -> probe doCheck
}
