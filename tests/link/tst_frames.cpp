#include "link/Frames.h"

#include <QTest>

using namespace mx;
using frames::Reply;

Q_DECLARE_METATYPE(frames::Reply)

namespace {

QByteArray hex(const QByteArray& text)
{
    return QByteArray::fromHex(text);
}

} // namespace

class TestFrames : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // The frames the session builds are the independent emulator's to check
    // (tst_e2e_read, tst_e2e_write); here what the session makes of replies.
    void classify_data()
    {
        QTest::addColumn<QByteArray>("received");
        QTest::addColumn<int>("blockAddress");
        QTest::addColumn<Reply>("expected");

        // "W", 0x0020, 16 bytes 00..0F, checksum 20 + 10 + 78 = A8, ACK.
        const QByteArray good = hex("57 0020 10 000102030405060708090A0B0C0D0E0F A8 06");
        QByteArray offByOne = good, noTrailingAck = good, otherLen = good;
        offByOne[20] = char(offByOne[20] + 1);
        noTrailingAck[21] = 0x07;
        otherLen[3] = 0x0F; // LEN 15 in a 22-byte array
        const QByteArray ident = 'I' + QByteArray(15, 'x');

        QTest::newRow("ACK") << hex("06") << -16 << Reply::Ack;
        QTest::newRow("two ACKs") << hex("0606") << -16 << Reply::Ignored;
        QTest::newRow("other single byte") << hex("15") << -16 << Reply::Ignored;
        QTest::newRow("HB ACK") << hex("484206") << -16 << Reply::HandshakeReply;
        QTest::newRow("HB with other third byte") << hex("484207") << -16 << Reply::Ignored;
        QTest::newRow("noise before HB ACK") << hex("00484206") << -16 << Reply::Ignored;
        QTest::newRow("identification, any content") << ident << -16 << Reply::Identification;
        QTest::newRow("identification 15 bytes") << ident.first(15) << -16 << Reply::Ignored;
        QTest::newRow("16 bytes not starting with I") << QByteArray(16, 'J') << -16 << Reply::Ignored;
        QTest::newRow("data frame") << good << 0x20 << Reply::DataFrame;
        QTest::newRow("data frame for another block")
            << hex("57 0010 10" + QByteArray(32, 'F') + "10 06") << 0x20 << Reply::Ignored;
        QTest::newRow("checksum off by one") << offByOne << 0x20 << Reply::Ignored;
        QTest::newRow("without trailing ACK") << noTrailingAck << 0x20 << Reply::Ignored;
        QTest::newRow("LEN not 16") << otherLen << 0x20 << Reply::Ignored;
        QTest::newRow("frame and a stray byte (23 bytes)") << good + char(0x06) << 0x20 << Reply::Ignored;
        QTest::newRow("frame cut short") << good.first(21) << 0x20 << Reply::Ignored;
        QTest::newRow("W, AH and AL only") << hex("570020") << 0x20 << Reply::Ignored;
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
        QTest::addColumn<QByteArray>("model"); // bytes 1-7
        QTest::addColumn<int>("flags");        // byte 13
        QTest::addColumn<QString>("modelId");
        QTest::addColumn<bool>("noToneSquelch");
        QTest::addColumn<bool>("noTv");
        QTest::newRow("AB NUL CDE") << QByteArray("AB\0CDE ", 7) << 0 << "AB" << false << false;
        QTest::newRow("trailing blanks") << QByteArray("MX806  ") << 1 << "MX806" << true << false;
        QTest::newRow("all seven used") << QByteArray("ABCDEFG") << 3 << "ABCDEFG" << true << true;
        QTest::newRow("upper flag bits ignored") << QByteArray("X 1    ") << 0xFE << "X 1" << false << true;
    }
    void identification()
    {
        QFETCH(QByteArray, model);
        QFETCH(int, flags);
        QByteArray reply(16, char(0xEE));
        reply[0] = 'I';
        reply.replace(1, 7, model);
        reply.replace(9, 4, "V101");
        reply[13] = char(flags);
        const RadioIdentity id = frames::decodeIdentification(reply);
        QTEST(id.modelId, "modelId");
        QCOMPARE(id.firmware, QStringLiteral("V101"));
        QTEST(id.toneSquelchUnsupported, "noToneSquelch");
        QTEST(id.tvUnsupported, "noTv");
    }
};

QTEST_GUILESS_MAIN(TestFrames)
#include "tst_frames.moc"
