#include "imageFile.h"

#include "base/bootloaderProtocol.h"
#include "platform/resources.h"

TFirmwareImage LoadImageFile(TImageRequest request) {
    request.AreaBytes = protocol::ImageBytes;
    if (!request.Base) request.Base = BuiltInImageBase();
    request.BaseHint = "--base ADDRESS";
    return LoadFirmwareImage(request);
}

void UseImage(const std::string& bytes) {
    platform::RegisterLinkedResource("STREAM0", platform::ResourceTypeStream,
                                     reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
}
