#pragma once

namespace mx {

// The computer's speaker as the tone player uses it. start() returns at once;
// the player keeps the time itself, so a machine without sound (or a test
// recording the calls) follows the same timing.
class Sound
{
public:
    virtual ~Sound() = default;
    // False when there is nothing to sound the tones on.
    virtual bool available() { return true; }
    // Sounds hz for ms milliseconds; hz 0 is a pause of that length.
    virtual void start(int hz, int ms) = 0;
    // Silences a tone still sounding.
    virtual void stop() = 0;
};

} // namespace mx
