// The memory decoder fed any 16,384-byte image (shorter inputs are padded
// with 0xFF, longer ones cut).

#include "FuzzSupport.h"

#include "data/DataFile.h"
#include "link/MemoryCodec.h"

using namespace mx;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::app();
    QByteArray memory(reinterpret_cast<const char*>(data),
                      qsizetype(std::min<std::size_t>(size, RadioMemorySize)));
    memory.append(QByteArray(RadioMemorySize - memory.size(), char(0xFF)));

    RadioImage image;
    decodeImage(memory, image);
    for (qint16 n : image.work.channelCount)
        FUZZ_CHECK(n >= 0 && n <= SlotCount);
    FUZZ_CHECK(image.work.rangeMode >= 0 && image.work.rangeMode <= 2);

    // Whatever a radio held, the image read from it can be written back...
    const QString misfit = checkImageFits(image);
    if (!misfit.isEmpty()) std::fprintf(stderr, "refused: %s\n", qPrintable(misfit));
    FUZZ_CHECK(misfit.isEmpty());
    // ...and reading that back gives the same image. (Range family 2 keeps
    // only the slots of its regional plans: a channel written back by its
    // position may land outside them, so its counts can shrink.)
    QByteArray again(RadioMemorySize, '\0');
    fillRadioMemory(again);
    encodeImage(image, again);
    RadioImage second;
    decodeImage(again, second);
    FUZZ_CHECK(second.work.optFeat == image.work.optFeat);
    FUZZ_CHECK(second.work.toneTips == image.work.toneTips);
    for (int m = 0; m < 2; ++m)
        for (int b = 1; b <= BandCount; ++b) {
            FUZZ_CHECK(second.work.count(m, b) == image.work.count(m, b));
            for (int i = 1; i <= image.work.count(m, b); ++i)
                FUZZ_CHECK(second.workChannels.at(m, i, b).rxFreq == image.workChannels.at(m, i, b).rxFreq);
        }
    return 0;
}
