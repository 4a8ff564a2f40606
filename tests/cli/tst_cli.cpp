// The command line: exit status and listing of `mx806 show`. How questions are
// answered and printed shows in the emulator runs (tst_e2e_read).

#include "data/DataFile.h"
#include "e2e/E2e.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>
#include <sys/sysmacros.h>

using namespace mx;

namespace {

// A copy of the EU template pair in dir, its data file changed by edit.
QString copyTemplate(const QTemporaryDir& dir, const QString& name,
                     const std::function<void(QByteArray&)>& edit)
{
    const QString tpl = e2e::templateFile(2), path = dir.filePath(name + QStringLiteral(".dat"));
    QByteArray bytes = e2e::readAll(tpl);
    edit(bytes);
    const bool written = e2e::writeAll(path, bytes) &&
                         QFile::copy(datafile::channelFileName(tpl), datafile::channelFileName(path));
    return written ? path : QString();
}

} // namespace

class TstCli : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(QFile::exists(QDir(e2e::binDir()).filePath(QStringLiteral("mx806"))),
                 "mx806 missing: build it first");
        QVERIFY2(QFile::exists(e2e::templateFile(2)),
                 "templates missing: build the 'templates' target first");
        QVERIFY(m_dir.isValid());
        QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("emptyroot")));
        // An install root whose settings chose no port (the port dialog's OK with no port listed).
        e2e::makeRoot(m_dir.filePath(QStringLiteral("noport")),
                      "[language]\r\nIsFirstRun=0\r\ncomPort=0\r\n");
    }

    void exitStatus_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("stderrHas");

        const auto same = [](QByteArray&) {};
        const QString good = copyTemplate(m_dir, QStringLiteral("good"), same);
        const QString lowerTag =
            copyTemplate(m_dir, QStringLiteral("lowertag"), [](QByteArray& b) { b[0] = 'v'; });
        const QString tooLong =
            copyTemplate(m_dir, QStringLiteral("toolong"), [](QByteArray& b) { b.append('\0'); });
        const QString other =
            copyTemplate(m_dir, QStringLiteral("other"), [](QByteArray& b) { b.replace(0, 4, "V200"); });
        // Counts at byte 60 + 2 (m + 3 (b - 1)): range 1 ("HF"), band 2 ("B") at 68.
        const QString count41 =
            copyTemplate(m_dir, QStringLiteral("count41"), [](QByteArray& b) { b[68] = 41, b[69] = 0; });
        // Channel files: none, and one record only; the first record's frequency
        // (at byte 4 of the channel file) off the raster, and outside every range.
        const QString noFre = copyTemplate(m_dir, QStringLiteral("nofre"), same);
        QFile::remove(datafile::channelFileName(noFre));
        const QString shortFre = copyTemplate(m_dir, QStringLiteral("shortfre"), same);
        QFile(datafile::channelFileName(shortFre)).resize(42);
        // Both set to range 0 ("10M", RangeMode at byte 4), whose channels are listed one by one.
        const auto tenMetre = [](QByteArray& b) { b[4] = b[5] = 0; };
        const QString offRaster = copyTemplate(m_dir, QStringLiteral("offraster"), tenMetre);
        const QString outside = copyTemplate(m_dir, QStringLiteral("outside"), tenMetre);
        for (const auto& [path, freq] : {std::pair{offRaster, "28001000"}, std::pair{outside, "31000000"}}) {
            QFile fre(datafile::channelFileName(path));
            if (fre.open(QIODevice::ReadWrite) && fre.seek(4)) fre.write(freq);
        }
        // The first channel of 10M band A numbered 2: the radio gives it number 1.
        const QString gap = copyTemplate(m_dir, QStringLiteral("gap"), same);
        if (QFile fre(datafile::channelFileName(gap)); fre.open(QIODevice::ReadWrite)) fre.write("\x02", 1);
        // What never ends or never answers: a FIFO as data file, channel file, channel list,
        // Version.ini and output; a device (its own node as root, else a FIFO) and a link to one as output.
        const QString fifo = m_dir.filePath(QStringLiteral("fifo"));
        mkfifo(QFile::encodeName(fifo).constData(), 0600);
        const QString fifoDat = m_dir.filePath(QStringLiteral("fifo.dat"));
        const QString fifoPdf = m_dir.filePath(QStringLiteral("fifo.pdf"));
        for (const QString& f : {fifoDat, fifoPdf})
            mkfifo(QFile::encodeName(f).constData(), 0600);
        const QString fifoFre = copyTemplate(m_dir, QStringLiteral("fifofre"), same);
        QFile::remove(datafile::channelFileName(fifoFre));
        QFile::link(fifo, datafile::channelFileName(fifoFre));
        const QString device = m_dir.filePath(QStringLiteral("fakenull"));
        if (mknod(QFile::encodeName(device).constData(), S_IFCHR | 0666, makedev(1, 3)) != 0)
            mkfifo(QFile::encodeName(device).constData(), 0600);
        const QString deviceLink = m_dir.filePath(QStringLiteral("null.bin"));
        QFile::link(device, deviceLink);
        const QString fifoRoot = m_dir.filePath(QStringLiteral("fiforoot"));
        QDir().mkpath(fifoRoot);
        QFile::link(fifo, fifoRoot + QStringLiteral("/Version.ini"));
        // A pair whose last save was interrupted between its two files.
        const QString interrupted = copyTemplate(m_dir, QStringLiteral("interrupted"), same);
        e2e::writeAll(interrupted + QStringLiteral(".saving"), "x");
        // Settings: a port number beyond 255; a settings file that is a folder, a FIFO, 3 MiB of binary.
        const QString badPortRoot = m_dir.filePath(QStringLiteral("badport"));
        e2e::makeRoot(badPortRoot, "[language]\r\nIsFirstRun=0\r\ncomPort=999999\r\n");
        QStringList badSettings;
        for (const char* kind : {"folder", "fifo", "binary"}) {
            const QString root = m_dir.filePath(QStringLiteral("settings-") + QLatin1String(kind));
            e2e::makeRoot(root, QByteArray(kind == QByteArrayView("binary") ? 3 << 20 : 0, '\xff'));
            const QString ini = root + QStringLiteral("/language/mysetup.ini");
            if (kind != QByteArrayView("binary")) QFile::remove(ini);
            if (kind == QByteArrayView("folder")) QDir().mkpath(ini);
            if (kind == QByteArrayView("fifo")) mkfifo(QFile::encodeName(ini).constData(), 0600);
            badSettings << root;
        }
        const QString emptyRoot = m_dir.filePath(QStringLiteral("emptyroot"));
        const QString noPortRoot = m_dir.filePath(QStringLiteral("noport"));
        const QString distRoot = qEnvironmentVariable("MX_DIST_DIR");
        const QString nowhere = m_dir.filePath(QStringLiteral("nodir/x.dat"));

        QTest::newRow("no arguments") << QStringList{} << 1 << "usage:";
        QTest::newRow("unknown command") << QStringList{"frobnicate"} << 1 << "unknown command frobnicate\n";
        QTest::newRow("command mistyped") << QStringList{"shwo", good} << 1 << "(did you mean show?)";
        QTest::newRow("command without its dash")
            << QStringList{"multiwrite"} << 1 << "(did you mean multi-write?)\nmx806: see 'mx806 help'";
        QTest::newRow("option mistyped")
            << QStringList{"read", "--prot", "x", "-o", "x.dat"} << 1 << "(did you mean --port?)";
        QTest::newRow("help of an unknown command")
            << QStringList{"help", "raed"} << 1 << "(did you mean read?)";
        QTest::newRow("help of help") << QStringList{"help", "help"} << 0 << "";
        QTest::newRow("version") << QStringList{"--version"} << 0 << "";
        QTest::newRow("version, short") << QStringList{"-V"} << 0 << "";
        QTest::newRow("quiet and verbose")
            << QStringList{"info", "--port", "/dev/null", "-q", "-v"} << 1 << "-q and -v do not go together";
        QTest::newRow("show without file") << QStringList{"show"} << 1 << "wrong number of arguments";
        QTest::newRow("show two files")
            << QStringList{"show", good, good} << 1 << "wrong number of arguments";
        QTest::newRow("unknown option") << QStringList{"show", "--colour", good} << 1 << "unknown option";
        QTest::newRow("root without folder") << QStringList{"show", good, "--root"} << 1 << "--root needs";
        QTest::newRow("required option")
            << QStringList{"read", "--port", "/dev/null"} << 1 << "-o is required";
        QTest::newRow("option without value")
            << QStringList{"decode", "m.bin", "--output"} << 1 << "--output needs FILE.dat";
        QTest::newRow("unknown short option")
            << QStringList{"encode", "-x", good} << 1 << "unknown option -x";
        QTest::newRow("read into a non-data file")
            << QStringList{"read", "--port", "/dev/null", "-o", "x.bin"} << 1
            << "the output must be a .dat file: x.bin";
        QTest::newRow("decode into a non-data file")
            << QStringList{"decode", "m.bin", "-o", "x.txt"} << 1 << "the output must be a .dat file: x.txt";
        QTest::newRow("negative retries")
            << QStringList{"read", "--port", "/dev/null", "-o", "x.dat", "--retries", "-1"} << 1
            << "--retries needs a number of 0 or more";
        QTest::newRow("multi-write without count")
            << QStringList{"multi-write", "--port", "/dev/null", "x.dat"} << 1 << "--count is required";
        QTest::newRow("multi-write count 0")
            << QStringList{"multi-write", "--port", "/dev/null", "--count", "0", "x.dat"} << 1
            << "needs --count N (1 or more)";
        QTest::newRow("help of read") << QStringList{"read", "-h"} << 0 << "";
        QTest::newRow("help") << QStringList{"--help"} << 0 << "";
        QTest::newRow("copy") << QStringList{"show", good} << 0 << "";
        QTest::newRow("root given after") << QStringList{"show", good, "--root", distRoot} << 0 << "";
        QTest::newRow("root given before") << QStringList{"--root=" + distRoot, "show", good} << 0 << "";
        QTest::newRow("missing file")
            << QStringList{"show", m_dir.filePath("none.dat")} << 2
            << "file error.\nmx806: " + m_dir.filePath("none.dat") + ": No such file or directory";
        QTest::newRow("folder") << QStringList{"show", m_dir.path()} << 2 << ": Is a directory";
        QTest::newRow("lower-case tag") << QStringList{"show", lowerTag} << 2
                                        << "Unknown version Of DataFile!\nmx806: " + lowerTag +
                                               ": not a data file: it begins with \"v100\"";
        QTest::newRow("1227 bytes") << QStringList{"show", tooLong} << 2
                                    << "Fail to start the software. This version does not exist.\nmx806: " +
                                           tooLong + ": 1227 bytes; a data file holds exactly 1226";
        QTest::newRow("channel count 41")
            << QStringList{"show", count41} << 2
            << "file error.\nmx806: " + count41 +
                   ": channel count of range 1 (\"HF\"), band B is 41 (0 to 40) at byte 68";
        // Never hands over to another version: the question is answered No.
        QTest::newRow("other version")
            << QStringList{"show", other} << 2
            << "[No]\nmx806: " + other + ": data version V2.00; no installed software version handles V2.00";
        // Without a version table nothing is compatible: the real cause is named.
        QTest::newRow("root without Version.ini") << QStringList{"--root", emptyRoot, "show", good} << 2
                                                  << "[No]\nmx806: Version.ini not found in " + emptyRoot;
        // A channel file that lacks channels: shown with a warning (never written: tst_e2e_write).
        QTest::newRow("show: channel file missing")
            << QStringList{"show", noFre} << 0
            << "warning: " + datafile::channelFileName(noFre) +
                   ": No such file or directory; 323 of the 323 channels";
        QTest::newRow("show: channel file short")
            << QStringList{"show", shortFre} << 0 << "holds 1 channel record; 322 of the 323 channels";
        QTest::newRow("encode: channel file missing")
            << QStringList{"encode", noFre, "-o", m_dir.filePath("nofre.bin")} << 0 << "warning: ";
        // Frequencies the radio takes but should not hold: a warning, the work goes on.
        QTest::newRow("encode: off the raster")
            << QStringList{"encode", offRaster, "-o", m_dir.filePath("raster.bin")} << 0
            << "warning: range 0 (\"10M\"), band A, channel 1: 28.00100 MHz is off the 5 kHz raster";
        QTest::newRow("encode: outside the range")
            << QStringList{"encode", outside, "-o", m_dir.filePath("outside.bin")} << 0
            << "31.00000 MHz lies outside 28.0000 - 29.7000 MHz";
        // The shipped 10M template's "EU" bands hold 28 MHz defaults: counted, not listed.
        QTest::newRow("encode: other range families counted")
            << QStringList{"encode", e2e::templateFile(0), "-o", m_dir.filePath("tpl.bin")} << 0
            << "warning: range 2 (\"EU\"): 8 channel(s) outside its range or off the 5 kHz raster; the file "
               "uses range 0";
        QTest::newRow("encode into its input")
            << QStringList{"encode", good, "-o", good} << 1 << "would overwrite the input";
        QTest::newRow("encode into its channel file")
            << QStringList{"encode", good, "-o", datafile::channelFileName(good)} << 1
            << "would overwrite the input";
        QTest::newRow("decode a missing file")
            << QStringList{"decode", m_dir.filePath("none.bin"), "-o", m_dir.filePath("d.dat")} << 2
            << "none.bin: No such file or directory";
        // Outputs are checked before the radio is touched (/dev/null is never opened).
        QTest::newRow("read into a missing folder")
            << QStringList{"read", "--port", "/dev/null", "-o", nowhere} << 2 << "nodir does not exist";
        // Ports: none chosen, numbered from 1, or not there.
        QTest::newRow("port COM0") << QStringList{"--root", emptyRoot, "port", "COM0"} << 2
                                   << "no port COM0: ports are numbered from 1";
        QTest::newRow("read --port COM0")
            << QStringList{"read", "--port", "COM0", "-o", m_dir.filePath("x.dat")} << 3
            << "Cannot Open Communication Port.\nmx806: no port COM0: ports are numbered from 1";
        QTest::newRow("port cannot be opened")
            << QStringList{"read", "--port", "/nonexistent/ttyMX", "-o", m_dir.filePath("x.dat")} << 3
            << "Cannot Open Communication Port.\nmx806: /nonexistent/ttyMX: no such device.";
        QTest::newRow("write renumbers a band with gaps")
            << QStringList{"write", "--port", "/nonexistent/ttyMX", "--no-backup", gap} << 3
            << "mx806: warning: the radio keeps the channels of a band in order, without gaps: these "
               "channels "
               "will come back with new numbers:\nmx806: warning: 10M band A: 2→1\n";
        QTest::newRow("settings without a port")
            << QStringList{"--root", noPortRoot, "info"} << 3
            << "Cannot Open Communication Port.\nmx806: no port chosen (comPort is 0";
        QTest::newRow("port number not listed")
            << QStringList{"--root", emptyRoot, "port", "999"} << 2 << "no port 999: ";
        QTest::newRow("port device missing") << QStringList{"--root", emptyRoot, "port", "/dev/mx-none"} << 2
                                             << "no port /dev/mx-none: no such device";
        QTest::newRow("port a regular file")
            << QStringList{"--root", emptyRoot, "port", good} << 2 << "a regular file, not a device";
        QTest::newRow("port with control characters")
            << QStringList{"--root", emptyRoot, "port", "/dev/tty\x1b[2J"} << 2
            << "no port /dev/tty\\x1B[2J: a port name holds no control characters";
        QTest::newRow("comPort beyond 255") << QStringList{"--root", badPortRoot, "info"} << 3
                                            << "no port chosen (comPort is 999999 in " + badPortRoot +
                                                   "/language/mysetup.ini; ports are numbered 1 to 255)";
        QTest::newRow("settings file a folder") << QStringList{"--root", badSettings[0], "port", "/dev/null"}
                                                << 2 << "mysetup.ini: Is a directory";
        QTest::newRow("settings file a FIFO") << QStringList{"--root", badSettings[1], "port", "/dev/null"}
                                              << 2 << "mysetup.ini: a device or FIFO, not a regular file";
        QTest::newRow("settings file binary") << QStringList{"--root", badSettings[2], "port", "/dev/null"}
                                              << 2 << "mysetup.ini: larger than 2 MiB: not a settings file";
        // Never waits on a FIFO, never replaces a device.
        QTest::newRow("data file a FIFO")
            << QStringList{"show", fifoDat} << 2 << "fifo.dat: a device or FIFO, not a regular file";
        QTest::newRow("channel file a FIFO")
            << QStringList{"show", fifoFre} << 0
            << "fifofre.fre: a device or FIFO, not a regular file; 323 of the 323 channels";
        QTest::newRow("Version.ini a FIFO")
            << QStringList{"--root", fifoRoot, "show", good} << 2 << "Version.ini: a device or FIFO";
        QTest::newRow("channel list a device")
            << QStringList{"import", good, "/dev/zero", "-o", m_dir.filePath("zero.dat")} << 2
            << "/dev/zero: a device or FIFO, not a regular file";
        QTest::newRow("export into a device") << QStringList{"export", good, "-o", device} << 2
                                              << "fakenull: a device or FIFO, not a regular file";
        QTest::newRow("encode into a link to a device")
            << QStringList{"encode", good, "-o", deviceLink} << 2 << "a device or FIFO, not a regular file";
        QTest::newRow("print into a FIFO") << QStringList{"print", good, "-o", fifoPdf} << 2
                                           << "fifo.pdf: a device or FIFO, not a regular file";
        // The pair of an interrupted save: shown with a warning (never written: tst_e2e_write).
        QTest::newRow("show an interrupted save")
            << QStringList{"show", interrupted} << 0
            << "The last save of \"interrupted.dat\" was interrupted: its channel file may not belong to it";
    }
    void exitStatus()
    {
        QFETCH(QStringList, args);
        QFETCH(int, status);
        QFETCH(QString, stderrHas);
        const e2e::Result r = e2e::runMx806(args);
        const QString err = QString::fromUtf8(r.err);
        QCOMPARE(r.exitCode, status);
        QVERIFY2(err.contains(stderrHas), qPrintable(err));
        // A wrong command line is named in a line or two, without the whole help.
        if (status == 1 && !args.isEmpty())
            QVERIFY2(!err.contains(QStringLiteral("Options")), qPrintable(err));
        if (status == 0)
            QVERIFY(!r.out.isEmpty() || args.first() == QLatin1String("encode"));
        else
            QVERIFY2(!r.out.contains("Band "), "no listing for a refused file");
    }

    // Through a link the channel file goes beside the link's target; no output may end at an input.
    void outputsThroughLinks()
    {
        const auto same = [](QByteArray&) {};
        const QString a = copyTemplate(m_dir, QStringLiteral("linka"), same),
                      b = copyTemplate(m_dir, QStringLiteral("linkb"), same);
        const QByteArray aBytes = e2e::readAll(a), aChannels = e2e::readAll(datafile::channelFileName(a));
        const QString viaLink = m_dir.filePath(QStringLiteral("L.dat"));
        QVERIFY(QFile::link(b, viaLink));
        const QStringList monSetting9{"--option", "MonSetting=9"};
        e2e::Result r = e2e::runMx806(QStringList{"set", a, "-o", viaLink} + monSetting9);
        QVERIFY2(r.exitCode == 0, r.err.constData());
        QCOMPARE(e2e::readAll(b).mid(590 + 124, 2), QByteArray("\x09\x00", 2)); // MonSetting's word
        QCOMPARE(e2e::readAll(datafile::channelFileName(b)), aChannels);
        QVERIFY(!QFileInfo::exists(datafile::channelFileName(viaLink)));
        QCOMPARE(e2e::runMx806({"diff", viaLink, b}).exitCode, 0); // read through the link: B.fre, too

        // M.fre links to the input: saving M.dat would write channel records over it.
        QVERIFY(QFile::link(a, m_dir.filePath(QStringLiteral("M.fre"))));
        r = e2e::runMx806(QStringList{"set", a, "-o", m_dir.filePath(QStringLiteral("M.dat"))} + monSetting9);
        QCOMPARE(r.exitCode, 1);
        QVERIFY2(r.err.contains("would overwrite the input"), r.err.constData());
        QCOMPARE(e2e::readAll(a), aBytes);
    }

    // A disk that is full as the system reports it (a full file system of its own, mounted
    // where only this run sees it): the message names the cause and the old files stay.
    void fullDisk_data()
    {
        QTest::addColumn<QStringList>("args"); // OUT stands for the full disk's folder
        QTest::newRow("export") << QStringList{"export", "GOOD", "-o", "OUT/out.csv"};
        QTest::newRow("encode") << QStringList{"encode", "GOOD", "-o", "OUT/out.bin"};
        QTest::newRow("set") << QStringList{"set", "GOOD", "-o", "OUT/out.dat", "--option", "MonSetting=9"};
    }
    void fullDisk()
    {
        QFETCH(QStringList, args);
        if (QProcess::execute(QStringLiteral("unshare"), {"-rm", "true"}) != 0)
            QSKIP("no mount namespace of its own here (unshare -rm)");
        const QString good =
            copyTemplate(m_dir, QStringLiteral("full-") + QTest::currentDataTag(), [](QByteArray&) {});
        const QString full = m_dir.filePath(QStringLiteral("full"));
        QVERIFY(QDir().mkpath(full));
        args.replaceInStrings(QStringLiteral("GOOD"), good).replaceInStrings(QStringLiteral("OUT"), full);
        const char* script = R"sh(d=$1; shift
mount -t tmpfs -o size=64k tmpfs "$d" || exit 99
for f in out.csv out.bin out.dat out.fre; do printf old > "$d/$f"; done
head -c 100000 /dev/zero > "$d/fill" 2>/dev/null
"$@"; rc=$?
for f in out.csv out.bin out.dat out.fre; do printf '%s=%s\n' $f "$(cat "$d/$f")"; done
ls "$d"
exit $rc)sh";
        QProcess process;
        process.start(QStringLiteral("unshare"),
                      QStringList{"-rm", "sh", "-c", script, "sh", full,
                                  QDir(e2e::binDir()).filePath(QStringLiteral("mx806"))} +
                          args);
        QVERIFY(process.waitForFinished(60000));
        const QByteArray out = process.readAllStandardOutput(), err = process.readAllStandardError();
        QCOMPARE(process.exitCode(), 2);
        QVERIFY2(err.contains(QByteArray("file error.\nmx806: " + QFile::encodeName(full) + "/out.")),
                 err.constData());
        QVERIFY2(err.contains(": No space left on device\n"), err.constData());
        QCOMPARE(out,
                 QByteArray("out.csv=old\nout.bin=old\nout.dat=old\nout.fre=old\nfill\nout.bin\nout.csv\n"
                            "out.dat\nout.fre\n"));
    }

    // The listing's layout; what the regional plans hold is tst_templates' part.
    void showListsRegionalPlans_data()
    {
        QTest::addColumn<QString>("expected");
        QTest::newRow("range") << "Range family:  2 \"EU\" 26.3300 - 27.99125 MHz";
        QTest::newRow("EU band") << "Band EU (1): enabled, 40 channels, work channel 1";
        QTest::newRow("UK ch 1 shown with 1.25 kHz") << "      1  27.60125";
        QTest::newRow("letter bands") << "Band H (8): enabled, 1 channel";
        QTest::newRow("channel columns") << "     23  27.25500   OFF     OFF    ON      OFF   OFF     OFF";
        QTest::newRow("option") << "Battery Max[V]        16.8";
        QTest::newRow("tone tip") << "Tone 1: usable, passes 1";
        QTest::newRow("tone steps") << "steps: 2100Hz/100ms pause/100ms";
        QTest::newRow("TV channel") << "   1  155.00000 MHz  TBST OFF  Wide";
    }
    void showListsRegionalPlans()
    {
        QFETCH(QString, expected);
        static const e2e::Result r = e2e::runMx806({QStringLiteral("show"), e2e::templateFile(2)});
        QCOMPARE(r.exitCode, 0);
        QVERIFY2(QString::fromUtf8(r.out).contains(expected), r.out.left(2000).constData());
    }
};

QTEST_GUILESS_MAIN(TstCli)
#include "tst_cli.moc"
