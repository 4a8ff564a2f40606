#pragma once

// The emulated radio: its memory, its identity, the requests it understands
// and the faults it can be told to show. It only turns received bytes into
// replies; the terminal, the clock and the pacing live in main.cpp.

#include <cstdint>
#include <string>
#include <vector>

namespace sim {

using Bytes = std::vector<std::uint8_t>;

constexpr int MemorySize = 0x4000;
constexpr std::uint8_t Ack = 0x06;

struct Options
{
    bool loneAck = false;
    std::string model = "MX806";
    std::string firmware = "V100";
    int flags = 0;
    int ignoreHandshakes = 0;       // the first K handshakes get no answer
    int dropBlock = -1;             // the reply to this block is lost, once
    int badChecksum = -1;           // this block is answered with a wrong checksum, once
    int strayByte = -1;             // a stray byte goes out before this block's reply, once
    int unplugAfter = -1;           // no answer at all after this many blocks
    bool hangUpAtHandshake = false; // the cable is pulled when the first handshake arrives
    int hangUpAt = -1;              // ... or when the request for this block arrives
    bool onlyHandshake = false;     // answers the handshake and nothing else
    int replyDelayMs = 0;           // replies leave this late (handshake, identification, END, blocks)
    int delayEvery = 1;             // of the blocks, only every Nth reply is late
    int corruptByte = -1;           // this byte is stored with its lowest bit flipped whenever it is written
    bool log = false;
};

// What the radio made of the front of its input.
enum class Request { None, Handshake, Identify, Read, Write, End, Garbage };

struct Step
{
    Request request = Request::None;
    int consumed = 0;      // bytes taken from the front of the input
    int address = -1;      // block of a read or write
    Bytes reply;           // empty: no answer
    bool badFrame = false; // a write frame whose checksum was wrong
    bool hangUp = false;   // the cable is pulled instead of an answer
    int delayMs = 0;       // how late the reply leaves
};

// The memory a radio holds when none is given: empty channels, except three
// in the first band of the "10M" range, and plausible option bytes.
Bytes defaultMemory();

class Radio
{
public:
    Radio(const Options& options, Bytes memory);

    // Looks at the front of input and takes one request out of it, or none
    // when the bytes there are the start of a request still arriving.
    Step next(const Bytes& input);
    // The front byte of an incomplete request that never completed: drop it.
    Step skipStale();

    // A new radio on the cable: the initial memory again. Faults that have
    // fired stay spent.
    void replace();

    const Bytes& memory() const { return m_memory; }
    int dataFramesStored() const { return m_frames; }

private:
    Step answer(Step step, const Bytes& input);
    Bytes identification() const;
    Bytes dataFrame(int address, bool badSum) const;
    bool unplugged() const { return m_options.unplugAfter >= 0 && m_blocks >= m_options.unplugAfter; }

    Options m_options;
    Bytes m_initial;
    Bytes m_memory;
    int m_handshakes = 0;
    int m_blocks = 0;
    int m_frames = 0;
    bool m_dropDone = false;
    bool m_badDone = false;
    bool m_strayDone = false;
};

// One line describing a step for the log.
std::string describe(const Step& step, const Bytes& input);

} // namespace sim
