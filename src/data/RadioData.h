#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <array>
#include <cstdint>

namespace mx {

constexpr int FamilyCount = 3; // range families 0..2
constexpr int BandCount = 8;   // bands 1..8
constexpr int SlotCount = 40;  // slots 1..40
constexpr int TVChannelCount = 32;
constexpr int ToneTipCount = 8;
constexpr int ToneStepCount = 14;

// Index of a (family m, band b) table: m varies fastest.
constexpr int bandIndex(int m, int b)
{
    return m + FamilyCount * (b - 1);
}
// Index of a (family m, slot i, band b) channel: m fastest, then i, then b.
constexpr int channelIndex(int m, int i, int b)
{
    return m + FamilyCount * ((i - 1) + SlotCount * (b - 1));
}

// A fixed-length 8-bit text field, padded with spaces on the right. May hold NUL bytes.
template <int N> struct FixedString
{
    std::array<char, N> bytes;

    FixedString() { bytes.fill(' '); }
    explicit FixedString(QByteArrayView text) { set(text); }

    // Copies text in, cut after N bytes, padded with spaces.
    void set(QByteArrayView text)
    {
        bytes.fill(' ');
        for (int k = 0; k < N && k < text.size(); ++k)
            bytes[k] = text[k];
    }
    void set(const QString& text) { set(QByteArrayView(text.toLatin1())); }
    QByteArray raw() const { return QByteArray(bytes.data(), N); }
    // The text with trailing spaces removed and cut before its first NUL.
    QString text() const
    {
        QByteArray r = raw();
        while (!r.isEmpty() && r.back() == ' ')
            r.chop(1);
        const int nul = r.indexOf('\0');
        if (nul >= 0) r.truncate(nul);
        return QString::fromLatin1(r);
    }
    bool operator==(const FixedString&) const = default;
};

// One channel: 42 bytes in a channel file.
struct ChannelRecord
{
    qint16 chNo = 0;
    qint16 inUse = 0;
    FixedString<8> rxFreq; // stored form, e.g. "28015000"; "FFFFFFFF" for none
    FixedString<8> txFreq; // kept in files, never sent to the radio
    // Word fields 1 to 11.
    qint16 word1 = 0, word2 = 0, word3 = 0, word4 = 0;
    qint16 publicFlag = 0;    // word 5, `Public`
    qint16 busy = 0;          // word 6
    qint16 hiCut = 0;         // word 7
    qint16 repeaterShift = 0; // word 8
    qint16 toneCode = 0;      // word 9: 0 none, 1..38 CTCSS index + 1, 39.. DCS index + 39
    qint16 word10 = 0;
    qint16 rogerBeep = 0; // word 11

    bool operator==(const ChannelRecord&) const = default;
};

// Word positions (byte offset / 2) of the option features record.
namespace Opt {
enum Word : int {
    RadioOption = 0,          // offset 0
    BandValid = 1,            // offsets 2..48: 24 words, (m, b) at BandValid + bandIndex(m, b)
    WorkBand = 25,            // offsets 50..54: 3 words, family m at WorkBand + m
    WorkChannel = 28,         // offsets 56..102: 24 words
    CurrentTVChannel = 52,    // offset 104
    ShowSQLLevel = 53,        // 106
    ShowVOLLevel = 54,        // 108
    ShowMICLevel = 55,        // 110
    ExtensionBand = 56,       // 112
    TVSignalHold = 57,        // 114
    BeepTone = 58,            // 116
    ASQ = 59,                 // 118
    SWRProtect = 60,          // 120
    ShowVSWRLaunch = 61,      // 122
    MonSetting = 62,          // 124
    TVSqlLevel = 63,          // 126
    TimeOutTimer = 64,        // 128
    PublicMode = 65,          // 130
    Busy = 66,                // 132
    HiCut = 67,               // 134
    RogerTone = 68,           // 136
    BatteryMin = 69,          // 138
    BatteryMax = 70,          // 140
    SWRMax = 71,              // 142
    TSQCode = 72,             // 144
    REPOffsetKHz = 73,        // 146
    REPDirection = 74,        // 148
    BacklightColor = 75,      // 150
    BacklightBrightness = 76, // 152
    BacklightLoopTime = 77,   // 154
    Count = 78
};
}

// Option features: 78 words of 16 bits, addressed by Opt::Word.
struct OptFeatRecord
{
    std::array<qint16, Opt::Count> words{};

    qint16& operator[](Opt::Word w) { return words[w]; }
    qint16 operator[](Opt::Word w) const { return words[w]; }
    qint16& bandValid(int m, int b) { return words[Opt::BandValid + bandIndex(m, b)]; }
    qint16 bandValid(int m, int b) const { return words[Opt::BandValid + bandIndex(m, b)]; }
    qint16& workBand(int m) { return words[Opt::WorkBand + m]; }
    qint16 workBand(int m) const { return words[Opt::WorkBand + m]; }
    qint16& workChannel(int m, int b) { return words[Opt::WorkChannel + bandIndex(m, b)]; }
    qint16 workChannel(int m, int b) const { return words[Opt::WorkChannel + bandIndex(m, b)]; }
    bool operator==(const OptFeatRecord&) const = default;
};

// One TV channel: 14 bytes in a data file.
struct TVChannelRecord
{
    qint16 inUse = 0;
    double frequency = 155.0; // MHz
    qint16 tbst = 0;          // option word 1: 0 off, 1 on
    qint16 bandwidth = 1;     // option word 2: 0 narrow, 1 wide
    bool operator==(const TVChannelRecord&) const = default;
};

// One roger-beep melody: fourteen (tone, length) steps, then RecycleTimes and InterTime.
struct ToneTipRecord
{
    std::array<qint16, 30> words{};

    qint16& tone(int step) { return words[2 * (step - 1)]; } // step 1..14, units of 10 Hz (0 pause)
    qint16 tone(int step) const { return words[2 * (step - 1)]; }
    qint16& length(int step) { return words[2 * (step - 1) + 1]; } // units of 10 ms
    qint16 length(int step) const { return words[2 * (step - 1) + 1]; }
    qint16& recycleTimes() { return words[28]; }
    qint16 recycleTimes() const { return words[28]; }
    qint16& interTime() { return words[29]; }
    qint16 interTime() const { return words[29]; }
    bool operator==(const ToneTipRecord&) const = default;
};

struct ModelBlock
{
    FixedString<7> modelId; // model code + NUL, space padded
    qint16 modelNumber = 248;
    qint16 savedRange = 0;
    FixedString<8> creationDate; // yyyyMMdd
    FixedString<5> dataVersion;  // "V1.00"
    FixedString<6> modelCode;    // model code + NUL
    qint16 defaultRange = 0;
    qint16 modelLetter = 67;
    bool operator==(const ModelBlock&) const = default;
};

// The whole radio data image record: 1226 bytes in a data file.
struct RadioDataRecord
{
    FixedString<4> tag;
    qint16 rangeMode = 0;
    std::array<qint16, FamilyCount> currentBand{};
    std::array<qint16, FamilyCount * BandCount> currentChannel{}; // bandIndex(m, b)
    std::array<qint16, FamilyCount * BandCount> channelCount{};   // bandIndex(m, b), 0..40
    std::array<TVChannelRecord, TVChannelCount> tvChannels{};
    ModelBlock model;
    OptFeatRecord optFeat;
    std::array<ToneTipRecord, ToneTipCount> toneTips{};

    qint16& count(int m, int b) { return channelCount[bandIndex(m, b)]; }
    qint16 count(int m, int b) const { return channelCount[bandIndex(m, b)]; }
    // The range family windows show: the stored one; a value outside 0..2 shows
    // the first and stays stored as it is.
    int shownFamily() const { return rangeMode >= 0 && rangeMode < FamilyCount ? rangeMode : 0; }
    // The slots of (m, b) in use, kept inside the array whatever the count says (0..40).
    int usedSlots(int m, int b) const { return qBound(0, int(count(m, b)), SlotCount); }
    bool operator==(const RadioDataRecord&) const = default;
};

// Channels of every family, slot and band.
struct ChannelArray
{
    std::array<ChannelRecord, FamilyCount * SlotCount * BandCount> records{};

    ChannelRecord& at(int m, int i, int b) { return records[channelIndex(m, i, b)]; }
    const ChannelRecord& at(int m, int i, int b) const { return records[channelIndex(m, i, b)]; }
};

// The radio data image: the working copy that everything edits and the
// staging copy that holds the state last loaded, saved or built, plus the
// document's identity. Editors listen to its signals.
class RadioImage : public QObject
{
    Q_OBJECT
public:
    explicit RadioImage(QObject* parent = nullptr);

    RadioDataRecord work; // working copy
    ChannelArray workChannels;
    RadioDataRecord staging; // staging copy (last loaded / saved / built)
    ChannelArray stagingChannels;

    QString modelCode = QStringLiteral("MX806");
    QString modelName = QStringLiteral("MX-806TR");
    QString rangeText = QStringLiteral("28.0000 - 29.7000 MHz");
    double rangeLow = 28.0;
    double rangeHigh = 29.7;
    QString versionTag = QStringLiteral("V100");
    QString currentFileName = QStringLiteral("new.dat");
    bool isNewDocument = true;

    // Family of rangeText (0..2; any other text gives 0).
    int rangeFamily() const;
    // Sets rangeText from a family and derives rangeLow/rangeHigh.
    void setRangeFamily(int family);

    // Channel store (working copy).
    void addChannel(int chNo, int m, int b, const QString& frequencyText);
    void deleteChannel(int i, int m, int b);
    int findSlot(int chNo, int m, int b) const;
    int countRegular(int m, int b) const;
    int countSameClass(int m, int b, int n) const;
    int countOthers(int m, int b, int n) const;
    void fixWorkChannel(int m, int b);

    // The working copy and the document's identity of another image (a scratch copy to work on).
    void copyFrom(const RadioImage& other);

    // Prepares a save: model block from the globals, tag "V100", staging := working.
    void copyWorkToStaging();
    // Applies a load: working := staging, globals follow the record.
    void copyStagingToWork();

    // Tells open windows that channel n of (m, b) or its band's switch may have changed.
    void notifyChannelChanged(int m, int b, int n) { Q_EMIT channelChanged(m, b, n); }

Q_SIGNALS:
    // The document's caption inputs (model, range, file name) changed.
    void captionChanged();
    // fixWorkChannel moved the work channel of (m, b): an open channel editor follows.
    void workChannelFixed(int m, int b);
    // Channel n of (m, b), or the band's switch, may have changed (n = 0: only
    // the switch): open windows show that row (and the band's switch) again.
    void channelChanged(int m, int b, int n);
    // Which tone tips are usable may have changed: open windows rebuild their roger lists.
    void toneTipsChanged();
};

} // namespace mx
