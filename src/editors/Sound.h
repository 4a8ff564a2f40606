#pragma once

#include <QObject>

#include <memory>

namespace mx {

// The computer's speaker as the tone player uses it. start() returns at once;
// the player keeps the time itself, so a machine without sound (or a test
// recording the calls) follows the same timing.
class Sound
{
public:
    virtual ~Sound() = default;
    // Sounds hz for ms milliseconds; hz 0 is a pause of that length.
    virtual void start(int hz, int ms) = 0;
    // Silences a tone still sounding.
    virtual void stop() = 0;
};

// The default output through Qt Multimedia: a generated sine wave on the
// default audio output. Without an output device it stays silent. The device
// is opened on the first tone, not before.
std::unique_ptr<Sound> makeSpeaker();

} // namespace mx
