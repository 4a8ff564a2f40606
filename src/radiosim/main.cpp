// mx806-radiosim: plays an MX-806TR on a pseudo-terminal so that the
// programming software can be run without a radio. The first line printed is
// the device to open; the emulator then answers until SIGTERM or SIGINT.

#include "Radio.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <sys/prctl.h>
#include <termios.h>
#include <unistd.h>
#include <vector>

namespace {

volatile std::sig_atomic_t g_stop = 0;

void onSignal(int)
{
    g_stop = 1;
}

using Nanos = std::int64_t;

Nanos now()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return Nanos(ts.tv_sec) * 1'000'000'000 + ts.tv_nsec;
}

void sleepUntil(Nanos deadline)
{
    timespec ts{};
    ts.tv_sec = time_t(deadline / 1'000'000'000);
    ts.tv_nsec = long(deadline % 1'000'000'000);
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &ts, nullptr) == EINTR && !g_stop) {
    }
}

// One byte on a 9600-baud line with a start and a stop bit: 10 bits.
constexpr double ByteNanos = 10.0 * 1e9 / 9600.0;
// Bytes of a request that stop arriving are dropped after this long.
constexpr Nanos StaleNanos = 100'000'000;

struct Config
{
    sim::Options radio;
    std::string memoryFile;
    std::string saveFile;
    bool pace = false;
    int swapGapMs = -1;
    int swapEvery = 1; // sessions per radio before the swap gap
};

const char* const Usage =
    "usage: mx806-radiosim [options]\n"
    "Plays an MX-806TR radio on a pseudo-terminal. Prints the device to open on its\n"
    "first line, then answers the programming software until SIGTERM or SIGINT.\n"
    "\n"
    "  --memory FILE          initial memory (16,384 bytes); default: a few channels\n"
    "  --save FILE            write the memory to FILE after every END (%n: radio number)\n"
    "  --model TEXT           model identifier, up to 7 characters (default MX806)\n"
    "  --firmware TEXT        firmware version, 4 characters, shorter ones NUL padded (default V100)\n"
    "  --flags N              feature flags byte (bit 0 no CTCSS/DCS, bit 1 no TV)\n"
    "  --lone-ack             answer the handshake with a lone ACK instead of HB ACK\n"
    "  --pace                 take as long as a 9600-baud line in both directions\n"
    "  --ignore-handshakes K  give no answer to the first K handshakes\n"
    "  --drop-block ADDR      give no answer to block ADDR, once\n"
    "  --bad-checksum ADDR    answer block ADDR with a wrong checksum (a NAK to a write), once\n"
    "  --stray-byte ADDR      send a stray byte before the answer to block ADDR, once\n"
    "  --unplug-after N       stop answering after N blocks\n"
    "  --corrupt-byte ADDR    store byte ADDR with its lowest bit flipped (a faulty memory cell)\n"
    "  --swap-gap MS          after every END stay silent MS ms, then be a fresh radio\n"
    "  --swap-every N         the swap gap after every Nth END only (2: a write and its check)\n"
    "  --hang-up WHEN         close the terminal (a pulled cable) when the handshake\n"
    "                         (WHEN = handshake) or the request for block WHEN arrives\n"
    "  --only-handshake       answer the handshake and nothing else\n"
    "  --reply-delay MS       send each reply MS ms after its request arrived\n"
    "  --delay-every N        of the blocks, delay only every Nth reply (default 1)\n"
    "  --log                  one line per frame on stderr\n"
    "  -h, --help             this text\n"
    "Addresses may be decimal or hexadecimal (0x3F50).\n";

bool parseNumber(const char* text, int& value)
{
    char* end = nullptr;
    errno = 0;
    const long v = std::strtol(text, &end, 0);
    if (errno != 0 || end == text || *end != '\0' || v < -1 || v > 0x7FFFFFFF) return false;
    value = int(v);
    return true;
}

// 0: go on, 1: usage error, 2: help shown.
int parseArguments(int argc, char** argv, Config& config)
{
    for (int k = 1; k < argc; ++k) {
        const std::string arg = argv[k];
        if (arg == "-h" || arg == "--help") {
            std::fputs(Usage, stdout);
            return 2;
        }
        if (arg == "--lone-ack") {
            config.radio.loneAck = true;
            continue;
        }
        if (arg == "--pace") {
            config.pace = true;
            continue;
        }
        if (arg == "--log") {
            config.radio.log = true;
            continue;
        }
        if (arg == "--only-handshake") {
            config.radio.onlyHandshake = true;
            continue;
        }
        if (k + 1 >= argc) {
            std::fprintf(stderr, "mx806-radiosim: unknown option or missing value: %s\n%s", arg.c_str(),
                         Usage);
            return 1;
        }
        const char* value = argv[++k];
        int* number = nullptr;
        if (arg == "--memory")
            config.memoryFile = value;
        else if (arg == "--save")
            config.saveFile = value;
        else if (arg == "--model")
            config.radio.model = std::string(value).substr(0, 7);
        else if (arg == "--firmware")
            config.radio.firmware = std::string(value).substr(0, 4);
        else if (arg == "--flags")
            number = &config.radio.flags;
        else if (arg == "--ignore-handshakes")
            number = &config.radio.ignoreHandshakes;
        else if (arg == "--drop-block")
            number = &config.radio.dropBlock;
        else if (arg == "--bad-checksum")
            number = &config.radio.badChecksum;
        else if (arg == "--stray-byte")
            number = &config.radio.strayByte;
        else if (arg == "--unplug-after")
            number = &config.radio.unplugAfter;
        else if (arg == "--corrupt-byte")
            number = &config.radio.corruptByte;
        else if (arg == "--swap-gap")
            number = &config.swapGapMs;
        else if (arg == "--swap-every")
            number = &config.swapEvery;
        else if (arg == "--hang-up" && std::string(value) == "handshake")
            config.radio.hangUpAtHandshake = true;
        else if (arg == "--hang-up")
            number = &config.radio.hangUpAt;
        else if (arg == "--reply-delay")
            number = &config.radio.replyDelayMs;
        else if (arg == "--delay-every")
            number = &config.radio.delayEvery;
        else {
            std::fprintf(stderr, "mx806-radiosim: unknown option: %s\n%s", arg.c_str(), Usage);
            return 1;
        }
        if (number && !parseNumber(value, *number)) {
            std::fprintf(stderr, "mx806-radiosim: not a number for %s: %s\n", arg.c_str(), value);
            return 1;
        }
    }
    return 0;
}

bool readMemory(const std::string& path, sim::Bytes& memory)
{
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    memory.assign(sim::MemorySize, 0xFF);
    const std::size_t n = std::fread(memory.data(), 1, memory.size(), f);
    const bool more = std::fgetc(f) != EOF;
    std::fclose(f);
    return n == memory.size() && !more;
}

// Written beside the target and renamed over it, so a reader never sees half a memory.
bool saveMemory(std::string path, int radioNumber, const sim::Bytes& memory)
{
    const std::size_t at = path.find("%n");
    if (at != std::string::npos) path.replace(at, 2, std::to_string(radioNumber));
    const std::string temporary = path + ".tmp";
    FILE* f = std::fopen(temporary.c_str(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(memory.data(), 1, memory.size(), f) == memory.size();
    if (std::fclose(f) != 0 || !ok || std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

struct Terminal
{
    int master = -1;
    int slave = -1; // held open so that the master reads no EIO before a client opens the device
    std::string device;
};

bool openTerminal(Terminal& t)
{
    t.master = posix_openpt(O_RDWR | O_NOCTTY);
    if (t.master < 0 || grantpt(t.master) != 0 || unlockpt(t.master) != 0) return false;
    const char* name = ptsname(t.master);
    if (!name) return false;
    t.device = name;
    t.slave = ::open(name, O_RDWR | O_NOCTTY);
    if (t.slave < 0) return false;
    termios tio{};
    if (tcgetattr(t.slave, &tio) != 0) return false;
    cfmakeraw(&tio);
    cfsetispeed(&tio, B9600);
    cfsetospeed(&tio, B9600);
    if (tcsetattr(t.slave, TCSANOW, &tio) != 0) return false;
    const int flags = fcntl(t.master, F_GETFL);
    fcntl(t.master, F_SETFL, flags | O_NONBLOCK);
    return true;
}

void writeAll(int fd, const std::uint8_t* data, std::size_t n)
{
    while (n > 0 && !g_stop) {
        const ssize_t w = ::write(fd, data, n);
        if (w > 0) {
            data += w;
            n -= std::size_t(w);
        } else if (w < 0 && errno == EAGAIN) {
            pollfd p{fd, POLLOUT, 0};
            poll(&p, 1, 100);
        } else if (w < 0 && errno == EINTR) {
            continue;
        } else {
            return;
        }
    }
}

class Emulator
{
public:
    Emulator(const Config& config, sim::Bytes memory, int fd)
        : m_config(config), m_radio(config.radio, std::move(memory)), m_fd(fd)
    {
    }

    // The terminal is closed: the program sees its device vanish, as when the cable is pulled.
    bool hungUp() const { return m_fd < 0; }

    int run()
    {
        std::uint8_t chunk[4096];
        while (!g_stop && m_fd >= 0) {
            const Nanos t = now();
            if (m_silentUntil > 0 && t >= m_silentUntil) {
                m_silentUntil = 0;
                m_radio.replace();
                ++m_radioNumber;
                log("swap: radio %d attached", m_radioNumber);
            }
            // Wait for input, but no longer than the next deadline; an overdue one
            // (which may be a few milliseconds past) is looked at once, never waited
            // on without end.
            int timeoutMs = -1;
            if (m_silentUntil > 0)
                timeoutMs = std::max(0, int((m_silentUntil - t) / 1'000'000) + 1);
            else if (!m_input.empty())
                timeoutMs = std::max(0, int((m_lastRead + StaleNanos - t) / 1'000'000) + 1);

            pollfd p{m_fd, POLLIN, 0};
            const int ready = poll(&p, 1, timeoutMs);
            if (ready < 0) {
                if (errno == EINTR) continue;
                std::perror("mx806-radiosim: poll");
                return 1;
            }
            if (ready > 0 && (p.revents & POLLIN)) {
                const ssize_t n = ::read(m_fd, chunk, sizeof chunk);
                if (n > 0)
                    receive(chunk, std::size_t(n));
                else if (n < 0 && errno != EAGAIN && errno != EINTR && errno != EIO)
                    return 1;
            } else if (ready > 0 && (p.revents & (POLLHUP | POLLERR))) {
                // Nobody on the other side yet; wait instead of spinning.
                usleep(10'000);
            }
            process();
            if (!m_input.empty() && m_silentUntil == 0 && m_fd >= 0 && now() - m_lastRead >= StaleNanos) {
                log("%s (incomplete request)", sim::describe(m_radio.skipStale(), m_input).c_str());
                pop(1);
                process();
            }
        }
        return 0;
    }

private:
    template <typename... Args> void log(const char* format, Args... args)
    {
        if (!m_config.radio.log) return;
        std::fprintf(stderr, "radiosim: ");
        std::fprintf(stderr, format, args...);
        std::fputc('\n', stderr);
    }

    void receive(const std::uint8_t* data, std::size_t n)
    {
        const Nanos t = now();
        m_lastRead = t;
        if (m_replyEnd > 0) {
            // How long the program took to answer our reply with its next frame;
            // counted once that frame turns out to belong to the same session.
            m_pendingTurnaround = t - m_replyEnd;
            m_replyEnd = 0;
        }
        if (m_silentUntil > 0) return; // no radio on the cable
        for (std::size_t k = 0; k < n; ++k) {
            // Paced, a byte arrives one byte time after the line was free.
            Nanos arrival = t;
            if (m_config.pace) {
                m_inLineFree = std::max(m_inLineFree, sinceStart(t)) + ByteNanos;
                arrival = at(m_inLineFree);
            }
            m_input.push_back(data[k]);
            m_arrival.push_back(arrival);
        }
    }

    // Line times in nanoseconds since the emulator's start, kept as doubles so
    // that a byte time (1,041,666.67 ns) adds up without drift or rounding.
    double sinceStart(Nanos t) const { return double(t - m_epoch); }
    Nanos at(double line) const { return m_epoch + Nanos(line + 0.5); }

    void hangUp()
    {
        ::close(m_fd);
        m_fd = -1;
        m_input.clear();
        m_arrival.clear();
    }

    void pop(std::size_t n)
    {
        m_input.erase(m_input.begin(), m_input.begin() + std::ptrdiff_t(n));
        m_arrival.erase(m_arrival.begin(), m_arrival.begin() + std::ptrdiff_t(n));
    }

    void process()
    {
        while (!m_input.empty() && !g_stop && m_silentUntil == 0 && m_fd >= 0) {
            const sim::Bytes& input = m_input;
            const sim::Step step = m_radio.next(input);
            if (step.request == sim::Request::None) return;
            const Nanos complete = m_arrival[std::size_t(step.consumed) - 1];
            if (m_config.pace && step.request != sim::Request::Garbage) sleepUntil(complete);
            if (step.hangUp) {
                log("%s (cable pulled)", sim::describe(step, input).c_str());
                hangUp();
                return;
            }
            log("%s%s", sim::describe(step, input).c_str(), step.reply.empty() ? " (no answer)" : "");
            // A handshake opens a session: the time before it is idle time between
            // sessions (or a program's retry), not a reply time.
            if (m_pendingTurnaround >= 0 && step.request != sim::Request::Handshake &&
                step.request != sim::Request::Garbage)
                m_turnaround.add(m_pendingTurnaround);
            m_pendingTurnaround = -1;
            pop(std::size_t(step.consumed));
            if (step.delayMs > 0 && !step.reply.empty())
                sleepUntil(std::max(complete, now()) + Nanos(step.delayMs) * 1'000'000);
            send(step.reply);
            if (step.request == sim::Request::End && !step.reply.empty()) endOfSession();
        }
    }

    void send(const sim::Bytes& reply)
    {
        if (reply.empty()) return;
        if (!m_config.pace) {
            writeAll(m_fd, reply.data(), reply.size());
            m_replyEnd = now();
            return;
        }
        // Each byte is handed over when its last bit would have left the radio.
        m_outLineFree = std::max(m_outLineFree, sinceStart(now()));
        for (std::uint8_t byte : reply) {
            m_outLineFree += ByteNanos;
            sleepUntil(at(m_outLineFree));
            writeAll(m_fd, &byte, 1);
        }
        m_replyEnd = now();
        m_lateness.add(m_replyEnd - at(m_outLineFree));
    }

public:
    // With --log: how quickly the program answered, and how late our own paced bytes were.
    void summary()
    {
        if (m_turnaround.count > 0)
            log("program turnaround: %ld frames, mean %.3f ms, max %.3f ms", m_turnaround.count,
                m_turnaround.mean(), m_turnaround.maxMs());
        if (m_lateness.count > 0)
            log("own lateness of the last reply byte: mean %.3f ms, max %.3f ms", m_lateness.mean(),
                m_lateness.maxMs());
    }

private:
    struct Stat
    {
        long count = 0;
        Nanos sum = 0;
        Nanos max = 0;
        void add(Nanos v)
        {
            ++count;
            sum += v;
            max = std::max(max, v);
        }
        double mean() const { return count ? double(sum) / double(count) / 1e6 : 0.0; }
        double maxMs() const { return double(max) / 1e6; }
    };

    void endOfSession()
    {
        if (!m_config.saveFile.empty() && !saveMemory(m_config.saveFile, m_radioNumber, m_radio.memory()))
            std::fprintf(stderr, "mx806-radiosim: cannot save %s\n", m_config.saveFile.c_str());
        log("session end: %d data frames stored", m_radio.dataFramesStored());
        m_replyEnd = 0; // whatever comes next starts another session
        ++m_sessionsThisRadio;
        if (m_config.swapGapMs >= 0 && m_sessionsThisRadio % std::max(1, m_config.swapEvery) == 0) {
            m_silentUntil = now() + Nanos(m_config.swapGapMs) * 1'000'000;
            if (m_silentUntil == 0) m_silentUntil = 1;
            m_input.clear();
            m_arrival.clear();
            log("swap: radio %d detached", m_radioNumber);
        }
    }

    const Config& m_config;
    sim::Radio m_radio;
    int m_fd;
    sim::Bytes m_input;
    std::vector<Nanos> m_arrival;
    Nanos m_epoch = now();
    Nanos m_lastRead = 0;
    Nanos m_silentUntil = 0;
    double m_inLineFree = 0;  // when the line from the program is free again
    double m_outLineFree = 0; // when the line to the program is free again
    int m_radioNumber = 1;
    int m_sessionsThisRadio = 0;
    Nanos m_replyEnd = 0;
    Nanos m_pendingTurnaround = -1;
    Stat m_turnaround;
    Stat m_lateness;
};

} // namespace

int main(int argc, char** argv)
{
    Config config;
    const int parsed = parseArguments(argc, argv, config);
    if (parsed != 0) return parsed == 2 ? 0 : 1;

    sim::Bytes memory = sim::defaultMemory();
    if (!config.memoryFile.empty() && !readMemory(config.memoryFile, memory)) {
        std::fprintf(stderr, "mx806-radiosim: %s must hold exactly %d bytes\n", config.memoryFile.c_str(),
                     sim::MemorySize);
        return 2;
    }

    struct sigaction action
    {
    };
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    // Paced bytes leave at their deadlines: no timer slack on the wake-ups.
    if (config.pace) prctl(PR_SET_TIMERSLACK, 1UL, 0, 0, 0);

    Terminal terminal;
    if (!openTerminal(terminal)) {
        std::perror("mx806-radiosim: pseudo-terminal");
        return 3;
    }
    std::printf("%s\n", terminal.device.c_str());
    std::fflush(stdout);

    Emulator emulator(config, std::move(memory), terminal.master);
    const int status = emulator.run();
    emulator.summary();
    ::close(terminal.slave);
    if (!emulator.hungUp()) ::close(terminal.master);
    return status;
}
