#pragma once

// What the fuzz targets share: a Qt application object, a scratch folder,
// a prompter that takes its answers from the input, and a failure that
// libFuzzer reports with the input that caused it.

#include "data/DataFile.h"
#include "data/RadioData.h"
#include "data/VersionTable.h"
#include "texts/Messenger.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace fuzz {

// A broken promise: print it and abort, so that libFuzzer keeps the input.
#define FUZZ_CHECK(cond)                                                                                     \
    do {                                                                                                     \
        if (!(cond)) {                                                                                       \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #cond);                    \
            std::abort();                                                                                    \
        }                                                                                                    \
    } while (0)

inline QCoreApplication& app()
{
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    static QCoreApplication* instance = new QCoreApplication(argc, argv);
    return *instance;
}

// A folder for the files a target writes, kept for the whole run.
inline QString scratch(const QString& name)
{
    static QTemporaryDir dir;
    return dir.filePath(name);
}

inline void writeFile(const QString& path, QByteArrayView bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::abort();
    file.write(bytes.data(), bytes.size());
}

// The bytes of the input one after another; zeros once they are used up.
class Input
{
public:
    Input(const std::uint8_t* data, std::size_t size) : m_p(data), m_end(data + size) {}
    bool empty() const { return m_p == m_end; }
    std::size_t left() const { return std::size_t(m_end - m_p); }
    std::uint8_t byte() { return m_p < m_end ? *m_p++ : 0; }
    QByteArray take(std::size_t n)
    {
        n = n < left() ? n : left();
        QByteArray bytes(reinterpret_cast<const char*>(m_p), qsizetype(n));
        m_p += n;
        return bytes;
    }
    QByteArray rest() { return take(left()); }

private:
    const std::uint8_t* m_p;
    const std::uint8_t* m_end;
};

// A data file pair taken from the input and written at path: one selector
// byte, then the data file (1226 bytes when bit 0 is clear, else every
// remaining byte), then its channel file (absent when bit 1 is set).
struct FilePair
{
    std::uint8_t selector;
    QByteArray dat, fre;
};
inline FilePair writeFilePair(Input& input, const QString& path)
{
    FilePair pair;
    pair.selector = input.byte();
    pair.dat = (pair.selector & 1) ? input.rest() : input.take(mx::datafile::DataFileSize);
    pair.fre = input.rest();
    writeFile(path, pair.dat);
    QFile::remove(mx::datafile::channelFileName(path));
    if (!(pair.selector & 2)) writeFile(mx::datafile::channelFileName(path), pair.fre);
    return pair;
}

// Answers every question with a choice taken from the input.
class InputPrompter : public mx::Prompter
{
public:
    explicit InputPrompter(Input& input) : m_input(input) {}
    int questions = 0;
    QStringList texts;
    mx::Answer ask(const QString& text, mx::Buttons buttons, mx::Icon) override
    {
        ++questions;
        texts.append(text);
        const bool first = (m_input.byte() & 1) == 0;
        switch (buttons) {
        case mx::Buttons::Ok:
            return mx::Answer::Ok;
        case mx::Buttons::OkCancel:
            return first ? mx::Answer::Ok : mx::Answer::Cancel;
        case mx::Buttons::YesNo:
            return first ? mx::Answer::Yes : mx::Answer::No;
        case mx::Buttons::YesNoCancel:
            return first ? mx::Answer::Yes : mx::Answer::Cancel;
        case mx::Buttons::RetryCancel:
            return first ? mx::Answer::Retry : mx::Answer::Cancel;
        }
        return mx::Answer::Cancel;
    }

private:
    Input& m_input;
};

// Records a hand-over to another version instead of doing it.
class NoLauncher : public mx::Launcher
{
public:
    bool start(const QString&) override { return true; }
    void quit() override {}
};

// Whether a freshly loaded image must count as unchanged: a TV entry whose
// in-use word is neither 0 nor 1, or a used one whose frequency is not a
// number, counts as changed by the comparison's own rule.
inline bool comparable(const mx::RadioDataRecord& record)
{
    return std::all_of(record.tvChannels.begin(), record.tvChannels.end(), [](const mx::TVChannelRecord& tv) {
        return tv.inUse == 0 || (tv.inUse == 1 && tv.frequency == tv.frequency);
    });
}

// V100 handles V100; V101 is handled by another installed version.
inline const mx::VersionTable& versions()
{
    static mx::VersionTable table = [] {
        mx::VersionTable t;
        t.pairs = {{QStringLiteral("V100"), QStringLiteral("V100")},
                   {QStringLiteral("V101"), QStringLiteral("V101")}};
        return t;
    }();
    return table;
}

} // namespace fuzz
