#include "link/Frames.h"

#include <QTest>

using namespace mx;
using frames::Reply;

Q_DECLARE_METATYPE(frames::Reply)

namespace {

QByteArray bytes(std::initializer_list<int> list)
{
    QByteArray b;
    for (int v : list)
        b.append(char(v));
    return b;
}

QByteArray ffMemory()
{
    return QByteArray(0x4000, char(0xFF));
}

// A correct data frame for address with data bytes 0, 1, 2, ...
QByteArray goodFrame(int address)
{
    QByteArray memory = ffMemory();
    for (int k = 0; k < 16; ++k)
        memory[address + k] = char(k);
    return frames::dataFrame(address, memory);
}

} // namespace

class TestFrames : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void builders_data()
    {
        QTest::addColumn<QByteArray>("built");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("handshake") << frames::handshake()
                                   << bytes({0x50, 0x52, 0x4F, 0x47, 0x52, 0x41, 0x4D});
        QTest::newRow("identification") << frames::identificationRequest() << bytes({0x02});
        QTest::newRow("read 0x0000") << frames::readRequest(0) << bytes({0x52, 0x00, 0x00, 0x10});
        QTest::newRow("read 0x3FF0") << frames::readRequest(0x3FF0) << bytes({0x52, 0x3F, 0xF0, 0x10});
        QTest::newRow("end") << frames::endFrame() << bytes({0x45, 0x4E, 0x44});
        QTest::newRow("handshake reply") << frames::handshakeReply() << bytes({0x48, 0x42, 0x06});

        QByteArray ff = bytes({0x57, 0x00, 0x10, 0x10});
        ff.append(QByteArray(16, char(0xFF)));
        ff.append(bytes({0x10, 0x06}));
        QTest::newRow("data frame 0x0010 of 0xFF (checksum 0x10)")
            << frames::dataFrame(0x10, ffMemory()) << ff;

        QByteArray tail = bytes({0x57, 0x3F, 0x50, 0x10});
        QByteArray memory = ffMemory();
        for (int k = 0; k < 16; ++k) {
            memory[0x3F50 + k] = char(k + 1);
            tail.append(char(k + 1));
        }
        // 0x3F + 0x50 + 0x10 + (1 + ... + 16) = 0x9F + 136 = 0x127 -> 0x27
        tail.append(bytes({0x27, 0x06}));
        QTest::newRow("data frame 0x3F50") << frames::dataFrame(0x3F50, memory) << tail;

        QByteArray ident(16, '\0');
        ident[0] = 'I';
        ident.replace(1, 5, "MX806");
        ident.replace(9, 4, "V100");
        ident[13] = 3;
        QTest::newRow("identification reply") << frames::identificationReply("MX806", "V100", 3) << ident;
    }
    void builders()
    {
        QFETCH(QByteArray, built);
        QFETCH(QByteArray, expected);
        QCOMPARE(built.toHex(' '), expected.toHex(' '));
    }

    void checksum_data()
    {
        QTest::addColumn<int>("address");
        QTest::addColumn<int>("fill");
        QTest::addColumn<int>("expected");
        QTest::newRow("0x0010 all 0xFF") << 0x0010 << 0xFF << 0x10;
        QTest::newRow("0x0000 all 0x00") << 0x0000 << 0x00 << 0x10;
        QTest::newRow("0x3FF0 all 0x01") << 0x3FF0 << 0x01 << ((0x3F + 0xF0 + 0x10 + 16) & 0xFF);
    }
    void checksum()
    {
        QFETCH(int, address);
        QFETCH(int, fill);
        QFETCH(int, expected);
        const QByteArray frame = frames::dataFrame(address, QByteArray(0x4000, char(fill)));
        QCOMPARE(int(quint8(frame[20])), expected);
        QCOMPARE(int(frames::checksum(frame.first(20))), expected);
        QVERIFY(frames::checksumMatches(frame));
    }

    void classify_data()
    {
        QTest::addColumn<QByteArray>("received");
        QTest::addColumn<int>("blockAddress");
        QTest::addColumn<Reply>("expected");

        const QByteArray good = goodFrame(0x0020);
        QByteArray offByOne = good;
        offByOne[20] = char(offByOne[20] + 1);
        QByteArray noTrailingAck = good;
        noTrailingAck[21] = 0x07;
        QByteArray otherLen = good;
        otherLen[3] = 0x0F; // LEN 15 in a 22-byte array
        QByteArray ident(16, 'x');
        ident[0] = 'I';

        QTest::newRow("ACK") << bytes({0x06}) << -16 << Reply::Ack;
        QTest::newRow("two ACKs") << bytes({0x06, 0x06}) << -16 << Reply::Ignored;
        QTest::newRow("other single byte") << bytes({0x15}) << -16 << Reply::Ignored;
        QTest::newRow("empty") << QByteArray() << -16 << Reply::Ignored;
        QTest::newRow("HB ACK") << bytes({0x48, 0x42, 0x06}) << -16 << Reply::HandshakeReply;
        QTest::newRow("HB without ACK") << bytes({0x48, 0x42}) << -16 << Reply::Ignored;
        QTest::newRow("HB with other third byte") << bytes({0x48, 0x42, 0x07}) << -16 << Reply::Ignored;
        QTest::newRow("noise before HB ACK") << bytes({0x00, 0x48, 0x42, 0x06}) << -16 << Reply::Ignored;
        QTest::newRow("identification, any content") << ident << -16 << Reply::Identification;
        QTest::newRow("identification 15 bytes") << ident.first(15) << -16 << Reply::Ignored;
        QTest::newRow("identification 17 bytes") << ident + 'x' << -16 << Reply::Ignored;
        QTest::newRow("16 bytes not starting with I") << QByteArray(16, 'J') << -16 << Reply::Ignored;
        QTest::newRow("data frame") << good << 0x20 << Reply::DataFrame;
        QTest::newRow("data frame for another block") << goodFrame(0x0010) << 0x20 << Reply::Ignored;
        QTest::newRow("data frame before the first block") << good << -16 << Reply::Ignored;
        QTest::newRow("checksum off by one") << offByOne << 0x20 << Reply::Ignored;
        QTest::newRow("without trailing ACK") << noTrailingAck << 0x20 << Reply::Ignored;
        QTest::newRow("LEN not 16") << otherLen << 0x20 << Reply::Ignored;
        QTest::newRow("frame and a stray byte (23 bytes)") << good + char(0x06) << 0x20 << Reply::Ignored;
        QTest::newRow("stray byte and frame") << char(0x00) + good << 0x20 << Reply::Ignored;
        QTest::newRow("frame cut short") << good.first(21) << 0x20 << Reply::Ignored;
        QTest::newRow("W and three bytes") << bytes({0x57, 0x00, 0x20}) << 0x20 << Reply::Ignored;
        QTest::newRow("two frames run together") << good + good << 0x20 << Reply::Ignored;
    }
    void classify()
    {
        QFETCH(QByteArray, received);
        QFETCH(int, blockAddress);
        QFETCH(Reply, expected);
        QCOMPARE(frames::classify(received, blockAddress), expected);
    }

    void identification_data()
    {
        QTest::addColumn<QByteArray>("model");    // bytes 1-7
        QTest::addColumn<QByteArray>("firmware"); // bytes 9-12
        QTest::addColumn<int>("flags");           // byte 13
        QTest::addColumn<QString>("modelId");
        QTest::addColumn<bool>("noToneSquelch");
        QTest::addColumn<bool>("noTv");

        QTest::newRow("AB NUL CDE") << QByteArray("AB\0CDE ", 7) << QByteArray("V100") << 0 << "AB" << false
                                    << false;
        QTest::newRow("trailing blanks")
            << QByteArray("MX806  ") << QByteArray("V101") << 1 << "MX806" << true << false;
        QTest::newRow("NUL padded") << QByteArray("MX806\0\0", 7) << QByteArray("V100") << 2 << "MX806"
                                    << false << true;
        QTest::newRow("all seven used")
            << QByteArray("ABCDEFG") << QByteArray("V200") << 3 << "ABCDEFG" << true << true;
        QTest::newRow("upper flag bits ignored")
            << QByteArray("X 1    ") << QByteArray("V100") << 0xFC << "X 1" << false << false;
    }
    void identification()
    {
        QFETCH(QByteArray, model);
        QFETCH(QByteArray, firmware);
        QFETCH(int, flags);
        QByteArray reply(16, char(0xEE));
        reply[0] = 'I';
        reply.replace(1, 7, model);
        reply.replace(9, 4, firmware);
        reply[13] = char(flags);
        const RadioIdentity id = frames::decodeIdentification(reply);
        QTEST(id.modelId, "modelId");
        QCOMPARE(id.firmware, QString::fromLatin1(firmware));
        QTEST(id.toneSquelchUnsupported, "noToneSquelch");
        QTEST(id.tvUnsupported, "noTv");
    }
};

QTEST_GUILESS_MAIN(TestFrames)
#include "tst_frames.moc"
