// Mean time of loading, comparing and saving a data file with every slot in use.
#include "data/DataFile.h"
#include "data/VersionTable.h"
#include "texts/Messenger.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>

#include <cstdio>

namespace {

class SilentPrompter : public mx::Prompter
{
public:
    int count = 0;
    mx::Answer ask(const QString&, mx::Buttons, mx::Icon) override
    {
        ++count;
        return mx::Answer::No;
    }
};

template <typename F> double meanMicroseconds(int iterations, F&& step)
{
    QElapsedTimer timer;
    timer.start();
    for (int k = 0; k < iterations; ++k)
        step();
    return double(timer.nsecsElapsed()) / 1000.0 / iterations;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    if (!dir.isValid()) {
        std::fprintf(stderr, "no temporary folder\n");
        return 1;
    }

    mx::RadioImage image;
    for (int m = 0; m < mx::FamilyCount; ++m) {
        for (int b = 1; b <= mx::BandCount; ++b) {
            image.work.count(m, b) = 0;
            for (int n = 1; n <= mx::SlotCount; ++n)
                image.addChannel(n, m, b, QStringLiteral("28.%1").arg(n * 5, 3, 10, QLatin1Char('0')));
        }
    }

    SilentPrompter prompter;
    mx::Messenger messenger(prompter);
    mx::VersionTable versions;
    versions.pairs = {{QStringLiteral("V100"), QStringLiteral("V100")}};
    const QString path = dir.filePath(QStringLiteral("bench.dat"));
    if (!mx::datafile::saveDataFile(image, path, messenger)) {
        std::fprintf(stderr, "cannot save %s\n", qPrintable(path));
        return 1;
    }

    const int iterations = argc > 1 ? QByteArray(argv[1]).toInt() : 2000;
    mx::RadioImage loaded;
    bool ok = true;
    const double load = meanMicroseconds(iterations, [&] {
        ok = ok &&
             mx::datafile::loadDataFile(loaded, path, versions, messenger) == mx::datafile::LoadStatus::Ok;
    });
    bool modified = false;
    const double compare =
        meanMicroseconds(iterations * 10, [&] { modified |= mx::datafile::isModified(loaded); });
    const double save =
        meanMicroseconds(iterations, [&] { ok = ok && mx::datafile::saveDataFile(loaded, path, messenger); });

    QTextStream out(stdout);
    out << "channels: 960, iterations: " << iterations << '\n';
    out << "load:       " << QString::number(load, 'f', 1) << " us\n";
    out << "isModified: " << QString::number(compare, 'f', 2) << " us\n";
    out << "save:       " << QString::number(save, 'f', 1) << " us\n";
    if (!ok || modified || prompter.count != 0) {
        std::fprintf(stderr, "unexpected result: ok=%d modified=%d messages=%d\n", ok, modified,
                     prompter.count);
        return 1;
    }
    return 0;
}
