#include "Radio.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace sim {

namespace {

constexpr int BlockLength = 16;
constexpr int DataFrameLength = BlockLength + 6;
constexpr std::uint8_t StrayByte = 0x00;
constexpr std::uint8_t Nak = 0x15;

// Compares the front of input with a keyword: 1 all there, 0 a prefix so far, -1 different.
int matchKeyword(const Bytes& input, const char* keyword)
{
    const std::size_t length = std::strlen(keyword);
    const std::size_t n = input.size() < length ? input.size() : length;
    for (std::size_t k = 0; k < n; ++k)
        if (input[k] != std::uint8_t(keyword[k])) return -1;
    return n == length ? 1 : 0;
}

std::uint8_t checksum(const Bytes& frame, std::size_t from, std::size_t to)
{
    unsigned sum = 0;
    for (std::size_t k = from; k < to; ++k)
        sum += frame[k];
    return std::uint8_t(sum & 0xFF);
}

void setBcd(Bytes& memory, int at, const char* sixDigits)
{
    // Receive frequency in units of 100 Hz, six BCD digits, least significant pair first.
    for (int pair = 0; pair < 3; ++pair) {
        const char hi = sixDigits[2 * pair], lo = sixDigits[2 * pair + 1];
        memory[at + 2 - pair] = std::uint8_t(((hi - '0') << 4) | (lo - '0'));
    }
}

} // namespace

Bytes defaultMemory()
{
    Bytes memory(MemorySize, 0xFF);
    for (int a = 0x3D00; a <= 0x3DFF; ++a)
        memory[a] = 0x00;
    // Range "10M", all bands of every range valid, work channel 1 everywhere.
    memory[0x3D00] = 0;
    memory[0x3D02] = memory[0x3D03] = memory[0x3D04] = 0xFF;
    // Three channels in band 1 of range 0: 28.0150, 28.0250 and 28.3050 MHz.
    const char* channels[] = {"280150", "280250", "283050"};
    for (int i = 0; i < 3; ++i) {
        const int slot = i * 16;
        setBcd(memory, slot, channels[i]);
        memory[slot + 3] = memory[slot + 4] = 0x00;
        memory[slot + 5] = std::uint8_t(i == 1 ? 7 : 0); // second channel: CTCSS index 7
        memory[slot + 7] = 0;
        memory[slot + 11] = std::uint8_t(i == 1 ? 0x10 : 0x00);
        memory[slot + 12] = 0;
    }
    memory[0x3D40] = 0x07;
    // Tone tips: silent melodies.
    for (int a = 0x3E00; a <= 0x3EFF; ++a)
        memory[a] = 0x00;
    // Option features.
    const std::uint8_t options[] = {0x80, 0x01, 0x05, 0x00, 0x00, 0x00, 0x01, 0xFF, 0x8C, 0x6E, 0x1E};
    for (std::size_t k = 0; k < sizeof options; ++k)
        memory[0x3F00 + k] = options[k];
    memory[0x3F14] = 0x58; // repeater offset 600 kHz (0x258)
    memory[0x3F15] = 0x02;
    memory[0x3F50] = 0x01;
    memory[0x3F51] = 0x03;
    memory[0x3F52] = 0x00;
    for (int a = 0x3FF8; a <= 0x3FFF; ++a)
        memory[a] = 0x55;
    return memory;
}

Radio::Radio(const Options& options, Bytes memory)
    : m_options(options), m_initial(std::move(memory)), m_memory(m_initial)
{
    m_initial.resize(MemorySize, 0xFF);
    m_memory = m_initial;
}

void Radio::replace()
{
    m_memory = m_initial;
}

Step Radio::skipStale()
{
    Step step;
    step.request = Request::Garbage;
    step.consumed = 1;
    return step;
}

Step Radio::next(const Bytes& input)
{
    Step step;
    if (input.empty()) return step;
    const auto garbage = [&] {
        step.request = Request::Garbage;
        step.consumed = 1;
        return step;
    };
    const auto keyword = [&](const char* word, Request request) {
        const int m = matchKeyword(input, word);
        if (m < 0) return garbage();
        if (m > 0) {
            step.request = request;
            step.consumed = int(std::strlen(word));
        }
        return step;
    };

    switch (input[0]) {
    case 'P':
        return answer(keyword("PROGRAM", Request::Handshake), input);
    case 'E':
        return answer(keyword("END", Request::End), input);
    case 0x02:
        step.request = Request::Identify;
        step.consumed = 1;
        return answer(step, input);
    case 'R':
    case 'W': {
        if (input.size() < 4) return step;
        const int address = input[1] * 256 + input[2];
        if (input[3] != BlockLength || address + BlockLength > MemorySize) return garbage();
        step.address = address;
        if (input[0] == 'R') {
            step.request = Request::Read;
            step.consumed = 4;
            return answer(step, input);
        }
        if (input.size() < std::size_t(DataFrameLength)) return step;
        if (input[DataFrameLength - 1] != Ack) return garbage();
        step.request = Request::Write;
        step.consumed = DataFrameLength;
        return answer(step, input);
    }
    default:
        return garbage();
    }
}

Step Radio::answer(Step step, const Bytes& input)
{
    if (step.request == Request::None || step.request == Request::Garbage) return step;
    if (unplugged()) return step;
    const bool block = step.request == Request::Read || step.request == Request::Write;
    if ((step.request == Request::Handshake && m_options.hangUpAtHandshake) ||
        (block && step.address == m_options.hangUpAt)) {
        step.hangUp = true;
        return step;
    }
    if (m_options.onlyHandshake && step.request != Request::Handshake) return step;
    if (!block || m_blocks % std::max(1, m_options.delayEvery) == 0) step.delayMs = m_options.replyDelayMs;

    switch (step.request) {
    case Request::Handshake:
        if (++m_handshakes <= m_options.ignoreHandshakes) break;
        if (m_options.loneAck)
            step.reply = {Ack};
        else
            step.reply = {'H', 'B', Ack};
        break;
    case Request::Identify:
        step.reply = identification();
        break;
    case Request::Read: {
        ++m_blocks;
        if (step.address == m_options.dropBlock && !m_dropDone) {
            m_dropDone = true;
            break;
        }
        bool bad = false;
        if (step.address == m_options.badChecksum && !m_badDone) {
            m_badDone = true;
            bad = true;
        }
        step.reply = dataFrame(step.address, bad);
        if (step.address == m_options.strayByte && !m_strayDone) {
            m_strayDone = true;
            step.reply.insert(step.reply.begin(), StrayByte);
        }
        break;
    }
    case Request::Write: {
        // The frame's shape was right; a wrong sum gets no answer and is not stored.
        if (checksum(input, 1, DataFrameLength - 2) != input[DataFrameLength - 2]) {
            step.badFrame = true;
            break;
        }
        ++m_blocks;
        ++m_frames;
        std::copy(input.begin() + 4, input.begin() + 4 + BlockLength, m_memory.begin() + step.address);
        if (m_options.corruptByte >= step.address && m_options.corruptByte < step.address + BlockLength)
            m_memory[m_options.corruptByte] ^= 0x01; // a cell that does not keep what it is given
        if (step.address == m_options.dropBlock && !m_dropDone) {
            m_dropDone = true;
            break;
        }
        if (step.address == m_options.badChecksum && !m_badDone) {
            m_badDone = true;
            step.reply = {Nak};
        } else {
            step.reply = {Ack};
        }
        if (step.address == m_options.strayByte && !m_strayDone) {
            m_strayDone = true;
            step.reply.insert(step.reply.begin(), StrayByte);
        }
        break;
    }
    case Request::End:
        step.reply = {Ack};
        break;
    default:
        break;
    }
    return step;
}

Bytes Radio::identification() const
{
    Bytes reply(16, 0x00);
    reply[0] = 'I';
    for (std::size_t k = 0; k < 7 && k < m_options.model.size(); ++k)
        reply[1 + k] = std::uint8_t(m_options.model[k]);
    for (std::size_t k = 0; k < 4; ++k)
        reply[9 + k] = k < m_options.firmware.size() ? std::uint8_t(m_options.firmware[k]) : 0;
    reply[13] = std::uint8_t(m_options.flags);
    return reply;
}

Bytes Radio::dataFrame(int address, bool badSum) const
{
    Bytes frame;
    frame.reserve(DataFrameLength);
    frame.push_back('W');
    frame.push_back(std::uint8_t(address >> 8));
    frame.push_back(std::uint8_t(address & 0xFF));
    frame.push_back(BlockLength);
    frame.insert(frame.end(), m_memory.begin() + address, m_memory.begin() + address + BlockLength);
    std::uint8_t sum = checksum(frame, 1, frame.size());
    if (badSum) sum = std::uint8_t(sum + 1);
    frame.push_back(sum);
    frame.push_back(Ack);
    return frame;
}

std::string describe(const Step& step, const Bytes& input)
{
    char line[96];
    switch (step.request) {
    case Request::Handshake:
        return "PROGRAM";
    case Request::Identify:
        return "IDENT";
    case Request::Read:
        std::snprintf(line, sizeof line, "R %04X", step.address);
        return line;
    case Request::Write:
        std::snprintf(line, sizeof line, step.badFrame ? "W %04X bad checksum" : "W %04X", step.address);
        return line;
    case Request::End:
        return "END";
    case Request::Garbage:
        std::snprintf(line, sizeof line, "skip %02X", input.empty() ? 0 : input[0]);
        return line;
    default:
        return "-";
    }
}

} // namespace sim
