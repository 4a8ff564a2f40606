// Load time of the largest version table the reader accepts: 32,767 software
// and 32,767 firmware entries (the most a 16-bit count allows), the file
// padded with comment lines up to the INI reader's size limit.
#include "data/IniFile.h"
#include "data/VersionTable.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <ctime>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Version.ini"));

    constexpr int Count = 32767;
    QByteArray text =
        "[Version]\r\nCurrentVersion=V100\r\nSoftVersionCount=32767\r\nFirmVersionCount=32767\r\n";
    text += "[Soft]\r\n";
    for (int i = 0; i < Count; ++i)
        text += "Version" + QByteArray::number(i) + "=V" + QByteArray::number(100 + i % 900) + "\r\n";
    text += "[Firm]\r\n";
    for (int i = 0; i < Count; ++i) {
        const QByteArray v = "V" + QByteArray::number(100 + i % 900);
        text += "Firm" + QByteArray::number(i) + "=" + v + v + "\r\n";
    }
    const QByteArray comment = "; padding up to the size the reader accepts\r\n";
    while (text.size() + comment.size() <= mx::IniFile::MaxFileSize)
        text += comment;
    text += QByteArray(mx::IniFile::MaxFileSize - text.size(), ' ');
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size()) return 1;
    file.close();

    // Wall time, and the processor time the load took (on a busy machine the
    // wall time also counts the time other programs had the processor).
    constexpr int Runs = 5;
    qint64 best = -1, total = 0;
    double cpuBest = -1;
    qsizetype pairs = 0;
    for (int k = 0; k < Runs; ++k) {
        QElapsedTimer timer;
        const std::clock_t cpu = std::clock();
        timer.start();
        mx::VersionTable table;
        table.load(path);
        const qint64 ns = timer.nsecsElapsed();
        const double cpuMs = double(std::clock() - cpu) * 1000.0 / CLOCKS_PER_SEC;
        cpuBest = cpuBest < 0 ? cpuMs : std::min(cpuBest, cpuMs);
        pairs = table.pairs.size();
        total += ns;
        best = best < 0 ? ns : std::min(best, ns);
    }
    qint64 parseBest = -1;
    for (int k = 0; k < Runs; ++k) {
        QElapsedTimer timer;
        timer.start();
        mx::IniFile ini(path);
        const qint64 ns = timer.nsecsElapsed();
        parseBest = parseBest < 0 ? ns : std::min(parseBest, ns);
    }
    std::printf("Version.ini %lld bytes, %lld software and %lld firmware entries\n", (long long)text.size(),
                (long long)Count, (long long)pairs);
    std::printf("load   best %8.1f ms   mean %8.1f ms   (target < 100 ms)\n", best / 1e6, total / 1e6 / Runs);
    std::printf("processor time of a load: best %8.1f ms\n", cpuBest);
    std::printf("of which reading and indexing the file: best %8.1f ms\n", parseBest / 1e6);

    // One byte more is refused without being parsed.
    text += ' ';
    file.open(QIODevice::WriteOnly);
    file.write(text);
    file.close();
    mx::VersionTable refused;
    std::printf("a file of %lld bytes is refused: %s\n", (long long)text.size(),
                refused.load(path) ? "no" : "yes");
    return pairs == Count ? 0 : 1;
}
