// The work the upload does for every image byte, wired as the upload scheme
// wires it: read the byte, make it a one-byte string for the port and a
// hexadecimal text for the CRC, fold it into the running CRC read back
// through the Init point, publish the new CRC text and rewrite the block
// mask (the final mask only at the image's end), the byte passing the gate
// that closes at the first outcome.
// The time per iteration is the time per byte.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "elements/zelCRC16_32.h"
#include "elements/zelConvertor.h"
#include "elements/zelDataToFile.h"
#include "elements/zelFor.h"
#include "elements/zelMemoryStream.h"
#include "elements/zelStrCat.h"
#include "elements/zelStrMask.h"
#include "runtime/Share.h"
#include "elements/zelIf_else.h"
#include "runtime/memoryStream.h"
#include "runtime/zelCommutator.h"
#include "runtime/zelEventFromData.h"
#include "runtime/zelHub.h"

namespace {

constexpr size_t ImageSize = 260096;

// Stands for the serial port's write: takes the one-byte string.
struct TPortSink {
    size_t bytes = 0;
    void doWrite(TData& d, uint16_t) { bytes += d.StrValue.size(); }
};

struct TUploadBytePath {
    TZelConvertor ByteToChar;
    TZelDataToFile ByteReader;
    TZelStrMask BlockMask;
    TZelStrMask FinalMask;
    TZelMemoryStream ImageStream;
    TZelFor BlockLoop;
    TZelHub SendHub;
    TZelCRC16_32 RunningCRC;
    TZelConvertor ByteToHex;
    TZelHub ByteHub;
    TZelHub CRCHub;
    TZelStrCat FinalText;
    TZelEventFromData CRCStore;  // where the published CRC text is kept and read back
    TZelEventFromData Running;
    TZelCommutator ByteGate;
    TZelIf_else ImageEnd;
    TZelHub EndHub;
    TPortSink Port;

    TUploadBytePath() {
        ByteToChar.Mode = 4;
        ByteToChar.Digits = 1;
        BlockMask.Mask = "SZ";
        BlockMask.IgnoreCase = 1;
        FinalMask.Mask = "FZ";
        FinalMask.IgnoreCase = 1;
        std::vector<uint8_t> image(ImageSize, 0xFF);
        uint32_t seed = 12345;
        for (size_t i = 0; i < 130314; ++i) {
            seed = seed * 1103515245u + 12345u;
            image[i] = uint8_t(seed >> 16);
        }
        ImageStream.Stream = std::make_unique<TMemoryStream>(std::move(image));
        BlockLoop.Start = 0;
        BlockLoop.End = 255;
        BlockLoop.Step = 1;
        BlockLoop.IncludeEnd = true;
        SendHub.SetOutCount(1);
        RunningCRC.HexInput = 1;
        RunningCRC.Kind = 0;
        RunningCRC.Polynom = "$A001";
        RunningCRC.Init = "$FFFF";
        ByteToHex.Mode = 6;
        ByteToHex.Digits = 1;
        ByteHub.SetOutCount(2);
        CRCHub.SetOutCount(2);
        EndHub.SetOutCount(1);
        Running.SetStored(MakeInt(1));
        ByteGate.SetOutCount(1);
        SetInt(ImageEnd.Op2, 0);
        FinalText.Str2 = "465A";
        CRCStore.SetStored(MakeStr("FFFF"));

        // The links of the per-byte path, in the upload scheme's order.
        ByteToChar.onResult = MakeLink<&TZelHub::doEvent>(1, &SendHub);
        ByteReader.onGet = MakeLink<&TZelHub::doEvent>(0, &ByteHub);
        ByteReader.Stream = MakeLink<&TZelMemoryStream::getStream>(0, &ImageStream);
        BlockLoop.onLoop = MakeLink<&TZelCommutator::doWork>(0, &ByteGate);
        ByteGate.Enabled = MakeLink<&TZelEventFromData::getValue>(0, &Running);
        ByteGate.onEvent[0] = MakeLink<&TZelDataToFile::doGet>(0, &ByteReader);
        SendHub.onEvent[0] = MakeLink<&TPortSink::doWrite>(0, &Port);
        RunningCRC.onCRC = MakeLink<&TZelHub::doEvent>(0, &CRCHub);
        RunningCRC.InitPoint = MakeLink<&TZelEventFromData::getValue>(0, &CRCStore);
        ByteToHex.onResult = MakeLink<&TZelCRC16_32::doCRC>(0, &RunningCRC);
        ByteHub.onEvent[0] = MakeLink<&TZelConvertor::doConvert>(0, &ByteToHex);
        ByteHub.onEvent[1] = MakeLink<&TZelConvertor::doConvert>(0, &ByteToChar);
        CRCHub.onEvent[0] = MakeLink<&TZelEventFromData::doData>(0, &CRCStore);
        CRCHub.onEvent[1] = MakeLink<&TZelIf_else::doCompare>(0, &ImageEnd);
        ImageEnd.Op1Point = MakeLink<&TZelMemoryStream::getLeft>(1, &ImageStream);
        ImageEnd.onFalse = MakeLink<&TZelStrMask::doMask>(1, &BlockMask);
        ImageEnd.onTrue = MakeLink<&TZelHub::doEvent>(0, &EndHub);
        EndHub.onEvent[0] = MakeLink<&TZelStrCat::doStrCat>(0, &FinalText);
        FinalText.onStrCat = MakeLink<&TZelStrMask::doMask>(1, &FinalMask);
        FinalText.Str1Point = MakeLink<&TZelEventFromData::getValue>(0, &CRCStore);
    }

    void RewindAtTheEnd() {
        if (ImageStream.Stream->Position() >= ImageSize) ImageStream.Stream->SetPosition(0);
    }
};

void BM_UploadByte(benchmark::State& state) {
    EnableDispatch();
    TUploadBytePath path;
    const TPointLink get = MakeLink<&TZelDataToFile::doGet>(0, &path.ByteReader);
    for (auto _ : state) {
        TData d;
        CallEvent(get, d);
        path.RewindAtTheEnd();
    }
    benchmark::DoNotOptimize(path.Port.bytes);
    state.SetItemsProcessed(int64_t(state.iterations()));
    state.counters["CRC"] = double(ParseHex(path.CRCStore.Stored().StrValue));
    DisableDispatch();
}
BENCHMARK(BM_UploadByte);

// A whole block of 256 bytes through the block loop; reported per byte.
void BM_UploadBlock(benchmark::State& state) {
    EnableDispatch();
    TUploadBytePath path;
    const TPointLink block = MakeLink<&TZelFor::doFor>(0, &path.BlockLoop);
    // One block first, checked against the CRC of its bytes computed in one
    // go, so that the figure is that of a path that works.
    {
        TData d;
        CallEvent(block, d);
        const auto& bytes = path.ImageStream.Stream->Bytes();
        TZelCRC16_32 direct;
        const std::string expected = direct.Compute(std::string(bytes.begin(), bytes.begin() + 256), 0xFFFF, 0xA001);
        const bool sent = path.Port.bytes == 256;
        const bool masks = path.BlockMask.Mask.Get() == expected && path.FinalMask.Mask.Get() == "FZ";
        if (path.CRCStore.Stored().StrValue != expected || !sent || !masks) {
            state.SkipWithError("the wired path computes a wrong CRC");
            DisableDispatch();
            return;
        }
    }
    for (auto _ : state) {
        TData d;
        CallEvent(block, d);
        path.RewindAtTheEnd();
    }
    benchmark::DoNotOptimize(path.Port.bytes);
    state.SetItemsProcessed(int64_t(state.iterations()) * 256);
    state.counters["ns_per_byte"] =
        benchmark::Counter(double(state.iterations()) * 256, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    DisableDispatch();
}
BENCHMARK(BM_UploadBlock);

}  // namespace

BENCHMARK_MAIN();
