// The data file loader: tag, compatibility, length and count checks, then
// the channel file. Input: one selector byte, then the data file (1226 bytes
// when the selector's bit 0 is clear, else every remaining byte), then the
// channel file (absent when bit 1 is set).

#include "FuzzSupport.h"

#include "data/DataFile.h"

using namespace mx;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::app();
    fuzz::Input input(data, size);
    const QString path = fuzz::scratch(QStringLiteral("in.dat"));
    const auto [selector, dat, fre] = fuzz::writeFilePair(input, path);

    RadioImage image;
    const RadioDataRecord before = image.work;
    fuzz::Input answers(reinterpret_cast<const std::uint8_t*>(fre.constData()), std::size_t(fre.size()));
    fuzz::InputPrompter prompter(answers);
    Messenger messenger(prompter);
    fuzz::NoLauncher launcher;
    Handover handover;
    handover.launcher = &launcher;
    const datafile::LoadStatus status =
        datafile::loadDataFile(image, path, fuzz::versions(), messenger, &handover);

    if (status != datafile::LoadStatus::Ok) {
        // A refused file changes nothing and says why.
        FUZZ_CHECK(image.work == before);
        FUZZ_CHECK(image.currentFileName == QStringLiteral("new.dat"));
        FUZZ_CHECK(prompter.questions >= 1);
        return 0;
    }
    FUZZ_CHECK(dat.size() == datafile::DataFileSize);
    FUZZ_CHECK(!datafile::isModified(image) || !fuzz::comparable(image.work));
    FUZZ_CHECK(image.work.tag.text() == QStringLiteral("V100"));
    int used = 0;
    for (qint16 n : image.work.channelCount) {
        FUZZ_CHECK(n >= 0 && n <= SlotCount);
        used += n;
    }
    // Exactly the records that were there and used; written back they are the same bytes.
    FUZZ_CHECK(used <= fre.size() / datafile::ChannelRecordSize);
    FUZZ_CHECK(datafile::encodeChannels(image.staging, image.stagingChannels) ==
               fre.left(used * datafile::ChannelRecordSize));
    return 0;
}
