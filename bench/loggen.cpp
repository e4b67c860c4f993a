#include "loggen.h"

#include "core/log_lines.h"

#include <array>
#include <cstring>
#include <functional>
#include <stdexcept>
#include <string_view>

namespace quomble::bench {

namespace {

// xoshiro256** seeded through splitmix64: small, fast and the same everywhere.
class Rng {
public:
    explicit Rng(std::uint64_t seed)
    {
        for (auto& word : state_) {
            seed += 0x9e3779b97f4a7c15ULL;
            std::uint64_t z = seed;
            z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
            z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
            word = z ^ (z >> 31);
        }
    }

    std::uint64_t next()
    {
        const std::uint64_t result = rotl(state_[1] * 5, 7) * 9;
        const std::uint64_t t = state_[1] << 17;
        state_[2] ^= state_[0];
        state_[3] ^= state_[1];
        state_[1] ^= state_[2];
        state_[0] ^= state_[3];
        state_[2] ^= t;
        state_[3] = rotl(state_[3], 45);
        return result;
    }

    // Uniform in [0, 1), exactly representable.
    double unit() { return static_cast<double>(next() >> 11) * 0x1.0p-53; }
    // Uniform in [0, bound); the bias is far below anything a log could show.
    std::uint32_t below(std::uint32_t bound) { return static_cast<std::uint32_t>((next() >> 32) % bound); }

private:
    static std::uint64_t rotl(std::uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }
    std::array<std::uint64_t, 4> state_{};
};

// A range of durations in seconds and its share in 1/100000. A "fixed" range keeps its
// real length whatever the density of the log (multi-day sessions and holidays); the other
// ranges are stretched or squeezed so that the boots fill the requested years.
struct Range {
    double lo;
    double hi;
    std::uint32_t weight;
    bool fixed;
};

constexpr std::uint32_t kWeightTotal = 100000;

constexpr std::array<Range, 7> kOnTimes = {{
    {3, 60, 2000, false},     // aborted start
    {60, 600, 10000, false},  // a quick look
    {600, 3600, 28000, false},
    {3600, 14400, 35000, false},
    {14400, 43200, 18000, false},  // a working day
    {43200, 172800, 6950, false},  // left running overnight
    {86400, 345600, 50, true},     // left running for days
}};

constexpr std::array<Range, 6> kOffTimes = {{
    {3, 60, 8000, false},  // restart
    {60, 1800, 17000, false},
    {1800, 14400, 30000, false},
    {14400, 57600, 35000, false},  // overnight
    {57600, 259200, 9980, false},  // a weekend
    {259200, 1814400, 20, true},   // a holiday
}};

constexpr std::uint32_t kCrashesPer1000 = 30;
constexpr double kRestartLo = 20;  // from a crash to the next boot, in seconds, fixed
constexpr double kRestartHi = 180;

constexpr bool weightsComplete()
{
    std::uint32_t on = 0;
    std::uint32_t off = 0;
    for (const Range& r : kOnTimes)
        on += r.weight;
    for (const Range& r : kOffTimes)
        off += r.weight;
    return on == kWeightTotal && off == kWeightTotal;
}
static_assert(weightsComplete());

// A duration split into its fixed and its stretchable share.
struct Draw {
    double fixed = 0;
    double scaled = 0;
};

template <std::size_t M>
Draw drawFrom(Rng& rng, const std::array<Range, M>& table)
{
    std::uint32_t pick = rng.below(kWeightTotal);
    const Range* range = &table.back();
    for (const Range& r : table) {
        if (pick < r.weight) {
            range = &r;
            break;
        }
        pick -= r.weight;
    }
    // Squaring leans towards the short end of the range, as real durations do.
    const double u = rng.unit();
    const double value = range->lo + u * u * (range->hi - range->lo);
    return range->fixed ? Draw{value, 0} : Draw{0, value};
}

// One boot before the running one: its on-time and the time until the next boot.
struct Cycle {
    bool crash = false;
    Draw on;
    Draw off;
};

Cycle drawCycle(Rng& rng)
{
    Cycle c;
    c.crash = rng.below(1000) < kCrashesPer1000;
    c.on = drawFrom(rng, kOnTimes);
    if (c.crash)
        c.off = Draw{kRestartLo + rng.unit() * (kRestartHi - kRestartLo), 0};
    else
        c.off = drawFrom(rng, kOffTimes);
    return c;
}

DateTime toDateTime(const CivilDateTime& c)
{
    return dayNumber(c.year, c.month, c.day) * kSecondsPerDay + c.hour * 3600 + c.minute * 60 + c.second;
}

DateTime yearsBefore(const CivilDateTime& end, int years)
{
    CivilDateTime start = end;
    start.year -= years;
    if (start.month == 2 && start.day == 29 && !isValidDate(start.year, 2, 29))
        start.day = 28;
    return toDateTime(start);
}

void validate(const LogGenOptions& o)
{
    const CivilDateTime& e = o.end;
    if (o.boots < 1 || o.boots > 100'000'000)
        throw std::invalid_argument("the number of boots must lie between 1 and 100000000");
    if (o.years < 1 || o.years > 1000)
        throw std::invalid_argument("the number of years must lie between 1 and 1000");
    if (e.year < 1 || e.year > 9999 || !isValidDate(e.year, e.month, e.day) || e.hour < 0 || e.hour > 23 ||
        e.minute < 0 || e.minute > 59 || e.second < 0 || e.second > 59)
        throw std::invalid_argument("the end is not a valid date and time");
    if (e.year - o.years < 1)
        throw std::invalid_argument("the log would start before the year 1");
}

// Formats timestamps quickly: consecutive boots mostly share their date.
class StampWriter {
public:
    void put(char* out, DateTime t)
    {
        const std::int64_t day = t / kSecondsPerDay;  // t is never negative here
        const int rest = static_cast<int>(t - day * kSecondsPerDay);
        if (day != cachedDay_) {
            cachedDay_ = day;
            const CivilDateTime c = civilFromDayNumber(day);
            two(date_, c.day);
            date_[2] = '.';
            two(date_ + 3, c.month);
            date_[5] = '.';
            two(date_ + 6, c.year / 100);
            two(date_ + 8, c.year % 100);
        }
        std::memcpy(out, date_, 10);
        out[10] = ' ';
        two(out + 11, rest / 3600);
        out[13] = ':';
        two(out + 14, rest / 60 % 60);
        out[16] = ':';
        two(out + 17, rest % 60);
    }

private:
    static void two(char* out, int value)
    {
        out[0] = static_cast<char>('0' + value / 10);
        out[1] = static_cast<char>('0' + value % 10);
    }
    std::int64_t cachedDay_ = -1;
    char date_[10] = {};
};

// Produces the log and hands it to sink in pieces of about 1 MiB.
void produce(const LogGenOptions& o, const std::function<void(std::string_view)>& sink)
{
    validate(o);
    const DateTime end = toDateTime(o.end);
    const DateTime start = yearsBefore(o.end, o.years);
    const std::int64_t n = o.boots;
    const std::int64_t span = end - start;

    // The running boot started a little before the end: a quarter of an average cycle,
    // at most an hour.
    const std::int64_t reserve = std::max<std::int64_t>(1, std::min<std::int64_t>(3600, span / (4 * n)));
    // Every on-time and every time to the next boot lasts at least one second.
    const std::int64_t budget = span - reserve - 2 * (n - 1);
    if (n > 1 && (budget < n || span < 3 * n))
        throw std::invalid_argument("too many boots for the years: allow three seconds per boot");

    // First pass: the totals of the fixed and the stretchable durations.
    double fixedSum = 0;
    double scaledSum = 0;
    {
        Rng rng(o.seed);
        for (std::int64_t i = 1; i < n; ++i) {
            const Cycle c = drawCycle(rng);
            fixedSum += c.on.fixed + c.off.fixed;
            scaledSum += c.on.scaled + c.off.scaled;
        }
    }
    // A small safety margin absorbs the rounding of the sums above.
    const double usable = static_cast<double>(budget) * (1 - 1e-9) - 1;
    // Fixed durations take at most half of the time; beyond that they are squeezed too.
    const double fixedScale = fixedSum > 0.5 * usable ? 0.5 * usable / fixedSum : 1.0;
    const double scale = scaledSum > 0 ? (usable - fixedScale * fixedSum) / scaledSum : 0.0;

    // Second pass: the same draws, now as timestamps.
    Rng rng(o.seed);
    StampWriter stamps;
    std::string buffer;
    constexpr std::size_t kFlushAt = std::size_t{1} << 20;
    buffer.reserve(kFlushAt + 64);
    char line[41];
    // Positions accumulate unrounded, so rounding down loses no time over a million boots.
    double elapsed = 0;
    DateTime login = start;
    for (std::int64_t i = 1; i < n; ++i) {
        const Cycle c = drawCycle(rng);
        const auto part = [&](const Draw& d) { return fixedScale * d.fixed + scale * d.scaled; };
        const DateTime base = start + 2 * (i - 1);
        elapsed += part(c.on);
        const DateTime logout = base + 1 + static_cast<std::int64_t>(elapsed);
        elapsed += part(c.off);
        const DateTime nextLogin = base + 2 + static_cast<std::int64_t>(elapsed);
        stamps.put(line, login);
        line[19] = ' ';
        if (c.crash) {
            line[20] = '\r';
            line[21] = '\n';
            buffer.append(line, 22);
        } else {
            stamps.put(line + 20, logout);
            line[39] = '\r';
            line[40] = '\n';
            buffer.append(line, 41);
        }
        if (buffer.size() >= kFlushAt) {
            sink(buffer);
            buffer.clear();
        }
        login = nextLogin;
    }
    if (login >= end)
        throw std::logic_error("log generator overran its end");
    stamps.put(line, login);
    line[19] = ' ';
    line[20] = '\r';
    line[21] = '\n';
    buffer.append(line, 22);
    sink(buffer);
}

}  // namespace

void writeLog(std::ostream& out, const LogGenOptions& options)
{
    produce(options, [&out](std::string_view piece) {
        out.write(piece.data(), static_cast<std::streamsize>(piece.size()));
    });
}

std::string generateLog(const LogGenOptions& options)
{
    std::string text;
    const auto boots = static_cast<std::size_t>(std::max<std::int64_t>(options.boots, 0));
    if (boots <= 50'000'000)
        text.reserve(boots * 41);
    produce(options, [&text](std::string_view piece) { text.append(piece); });
    return text;
}

const LogModel& benchmarkModel()
{
    static const LogModel model = [] {
        static const std::string log = generateLog(LogGenOptions{});
        LogModel m(fixedClock(LogGenOptions{}.end));
        LogLineReader lines{std::string_view(log)};
        m.LogFile_read(lines);
        m.Statistik_aktualisieren();
        m.BC_Array_fuellen();
        return m;
    }();
    return model;
}

}  // namespace quomble::bench
