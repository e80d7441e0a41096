#include "imageFile.h"

#include "base/bootloaderProtocol.h"
#include "base/modbusCrc.h"
#include "image/sha256.h"
#include "platform/resources.h"

TFirmwareImage LoadImageFile(TImageRequest request) {
    request.AreaBytes = protocol::ImageBytes;
    if (!request.Base) request.Base = BuiltInImageBase();
    request.BaseHint = "--base ADDRESS";
    return LoadFirmwareImage(request);
}

TImageFacts CurrentImageFacts(const std::string& file, const std::string& format) {
    TImageFacts facts;
    facts.File = file;
    facts.Format = file.empty() ? "built-in" : format;
    if (const auto image = platform::FindModuleResource("STREAM0", platform::ResourceTypeStream)) {
        facts.Bytes = image->size();
        facts.Crc = ModbusCrc(*image);
        facts.Sha256 = Sha256Hex(*image);
    }
    return facts;
}

void UseImage(const std::string& bytes) {
    platform::RegisterLinkedResource("STREAM0", platform::ResourceTypeStream,
                                     reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
}
