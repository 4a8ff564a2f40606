// mxsound: the tone player's output through Qt Multimedia, a module of its
// own. Qt Multimedia brings some twenty libraries (the sound server's client,
// codecs, network), so the desktop program loads this module the first time a
// tone is played instead of at every start.
#include "sound/Sound.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QBuffer>
#include <QMediaDevices>

#include <cmath>
#include <numbers>

namespace mx {

namespace {

// One sample of value v (-1..1) in the sink's sample format, for every channel.
void appendSample(QByteArray& out, const QAudioFormat& format, double v)
{
    for (int c = 0; c < format.channelCount(); ++c) {
        switch (format.sampleFormat()) {
        case QAudioFormat::UInt8:
            out.append(char(quint8(std::lround(127.5 + v * 127.0))));
            break;
        case QAudioFormat::Int16: {
            const qint16 s = qint16(std::lround(v * 32767.0));
            out.append(reinterpret_cast<const char*>(&s), sizeof s);
            break;
        }
        case QAudioFormat::Int32: {
            const qint32 s = qint32(std::lround(v * 2147483647.0));
            out.append(reinterpret_cast<const char*>(&s), sizeof s);
            break;
        }
        case QAudioFormat::Float: {
            const float s = float(v);
            out.append(reinterpret_cast<const char*>(&s), sizeof s);
            break;
        }
        default:
            return;
        }
    }
}

class Speaker : public Sound
{
public:
    ~Speaker() override { stop(); }

    bool available() override { return open(); }

    void start(int hz, int ms) override
    {
        stop();
        if (hz <= 0 || ms <= 0 || !open()) return;
        const QAudioFormat format = m_sink->format();
        const int rate = format.sampleRate();
        const qint64 frames = qint64(rate) * ms / 1000;
        const qint64 fade = qMin<qint64>(rate / 200, frames / 2); // 5 ms ramps against clicks
        QByteArray pcm;
        pcm.reserve(int(frames * format.bytesPerFrame()));
        for (qint64 k = 0; k < frames; ++k) {
            double gain = 0.5;
            if (k < fade)
                gain *= double(k) / double(fade);
            else if (frames - k < fade)
                gain *= double(frames - k) / double(fade);
            appendSample(pcm, format, gain * std::sin(2.0 * std::numbers::pi * hz * double(k) / rate));
        }
        m_buffer.close();
        m_buffer.setData(pcm);
        m_buffer.open(QIODevice::ReadOnly);
        m_sink->start(&m_buffer);
    }

    void stop() override
    {
        if (m_sink) m_sink->stop();
        m_buffer.close();
    }

private:
    // Opens the default output on first use; false when there is none.
    bool open()
    {
        if (m_sink) return true;
        if (m_tried) return false;
        m_tried = true;
        const QAudioDevice device = QMediaDevices::defaultAudioOutput();
        if (device.isNull()) return false;
        QAudioFormat format = device.preferredFormat();
        QAudioFormat mono = format;
        mono.setChannelCount(1);
        mono.setSampleFormat(QAudioFormat::Int16);
        if (device.isFormatSupported(mono)) format = mono;
        if (format.sampleRate() <= 0 || format.sampleFormat() == QAudioFormat::Unknown) return false;
        m_sink = std::make_unique<QAudioSink>(device, format);
        return true;
    }

    bool m_tried = false;
    std::unique_ptr<QAudioSink> m_sink;
    QBuffer m_buffer;
};

} // namespace

} // namespace mx

// The module's one entry point: a new speaker, owned by the caller.
extern "C" Q_DECL_EXPORT mx::Sound* mx_create_speaker()
{
    return new mx::Speaker();
}
