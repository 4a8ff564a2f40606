// The channel list import. Input: any bytes as a CSV channel list, imported
// into a built-in image; a refused list changes nothing, an accepted one keeps
// every band within its 40 channels and exports again as a list that imports
// and keeps every value. The same bytes followed by anything beyond the size
// limit are refused unread.

#include "FuzzSupport.h"

#include "data/ChannelCsv.h"
#include "data/Defaults.h"
#include "data/RadioData.h"

using namespace mx;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::app();
    static RadioImage* base = [] {
        auto* image = new RadioImage;
        defaults::applyBuiltIn(*image, QDate(2026, 12, 7));
        return image;
    }();
    RadioImage image;
    image.copyFrom(*base);
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    static QByteArray oversized(channelcsv::MaxListBytes + 1, '\n');
    if (size <= std::size_t(oversized.size())) {
        oversized.replace(0, input.size(), input);
        FUZZ_CHECK(!channelcsv::importChannels(image, oversized, 1).ok);
        FUZZ_CHECK(image.work == base->work);
        oversized.replace(0, input.size(), QByteArray(input.size(), '\n'));
    }
    const channelcsv::ImportResult result = channelcsv::importChannels(image, input, 1);
    if (!result.ok) {
        FUZZ_CHECK(!result.message.isEmpty());
        FUZZ_CHECK(image.work == base->work);
        return 0;
    }
    for (int m = 0; m < FamilyCount; ++m)
        for (int b = 1; b <= BandCount; ++b)
            FUZZ_CHECK(image.work.count(m, b) >= 0 && image.work.count(m, b) <= SlotCount);
    // What was accepted goes out and comes back the same.
    RadioImage again;
    again.copyFrom(image);
    FUZZ_CHECK(channelcsv::importChannels(again, channelcsv::exportChannels(image), 1).ok);
    FUZZ_CHECK(channelcsv::exportChannels(again) == channelcsv::exportChannels(image));
    FUZZ_CHECK(again.work == image.work && again.workChannels.records == image.workChannels.records);
    return 0;
}
