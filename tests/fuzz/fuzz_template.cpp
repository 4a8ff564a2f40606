// The template loader. Input: one selector byte, then the template (1226
// bytes when bit 0 is clear, else every remaining byte), then its channel
// file (absent when bit 1 is set).

#include "FuzzSupport.h"

#include "data/DataFile.h"
#include "data/Defaults.h"

using namespace mx;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::app();
    fuzz::Input input(data, size);
    const QString path = fuzz::scratch(QStringLiteral("0_MX806_New.dat"));
    const auto [selector, dat, fre] = fuzz::writeFilePair(input, path);

    RadioImage image;
    defaults::applyBuiltIn(image, QDate(2026, 12, 7));
    image.copyWorkToStaging();
    const RadioDataRecord before = image.work;
    const bool loaded = defaults::loadTemplate(image, path);

    // Either way the image counts as unchanged; a refused template leaves the defaults.
    FUZZ_CHECK(!datafile::isModified(image) || !fuzz::comparable(image.work));
    if (!loaded) {
        FUZZ_CHECK(image.work == before);
        return 0;
    }
    FUZZ_CHECK(dat.size() >= datafile::DataFileSize && !(selector & 2));
    int used = 0;
    for (qint16 n : image.work.channelCount) {
        FUZZ_CHECK(n >= 0 && n <= SlotCount);
        used += n;
    }
    FUZZ_CHECK(used <= fre.size() / datafile::ChannelRecordSize);
    return 0;
}
