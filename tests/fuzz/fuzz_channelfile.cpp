// The channel file loader. Input: 24 counts (16-bit, any value), then the
// channel file's bytes.

#include "FuzzSupport.h"

#include "data/DataFile.h"

#include <QtEndian>

using namespace mx;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::app();
    fuzz::Input input(data, size);
    RadioDataRecord record;
    for (qint16& n : record.channelCount) {
        const QByteArray two = input.take(2) + QByteArray(2, '\0');
        n = qFromLittleEndian<qint16>(two.constData());
    }
    const QByteArray fre = input.rest();
    const QString path = fuzz::scratch(QStringLiteral("ch.fre"));
    fuzz::writeFile(path, fre);

    // No more is read than the counts can use, whatever the file holds.
    const int wanted = datafile::usedChannelRecords(record);
    FUZZ_CHECK(wanted >= 0 && wanted <= datafile::MaxChannelRecords);
    bool ok = false;
    const QByteArray bytes = datafile::readHead(path, qint64(wanted) * datafile::ChannelRecordSize, &ok);
    FUZZ_CHECK(ok);
    FUZZ_CHECK(bytes == fre.left(qint64(wanted) * datafile::ChannelRecordSize));

    ChannelArray channels;
    const int read = datafile::decodeChannels(bytes, record, channels);
    FUZZ_CHECK(read == std::min<qsizetype>(wanted, fre.size() / datafile::ChannelRecordSize));
    int counted = 0;
    for (qint16 n : record.channelCount) {
        FUZZ_CHECK(n >= 0 && n <= SlotCount);
        counted += n;
    }
    FUZZ_CHECK(counted == read);
    FUZZ_CHECK(datafile::encodeChannels(record, channels) == bytes.left(read * datafile::ChannelRecordSize));
    return 0;
}
