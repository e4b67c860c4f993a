#include "core/daylist.h"
#include "core/model.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace quomble {

// The on-time per daytime curve. Every boot covers its minutes one after the other on a
// clock of 1441 entries (00:00 .. 23:59 and 24:00), starting at the entry after its login
// minute, at least one entry even when it lasted less than a minute or ended before it
// began. A boot of D entries from entry s thus adds D / 1441 to every entry and 1 to the
// D % 1441 entries from s on (circularly); the latter are gathered in a difference array,
// so the whole curve costs one pass over the boots and two over the clock.
//
// The duration is the boot's OnTime: the seconds from its login to its logout, to the next
// login after a crash, and to the last refresh for the running boot (whose LogOut holds
// that refresh's time), truncated to whole minutes.
void LogModel::Verlauf_berechnen(const std::function<void(int)>& progress)
{
    if (!DaytimePending)
        return;
    DaytimePending = false;
    const int n = BootCount;

    constexpr std::int64_t kClock = kMinutePoints;  // 1441 entries
    std::array<std::int64_t, kMinutePoints + 1> diff{};
    std::int64_t everyEntry = 0;
    auto cover = [&](int start, std::int64_t entries, std::int64_t& whole,
                     std::array<std::int64_t, kMinutePoints + 1>& ranges) {
        whole += entries / kClock;
        const std::int64_t end = start + entries % kClock;  // exclusive, below 2 * 1441
        ++ranges[static_cast<std::size_t>(start)];
        if (end <= kClock) {
            --ranges[static_cast<std::size_t>(end)];
        } else {
            --ranges[static_cast<std::size_t>(kClock)];
            ++ranges[0];
            --ranges[static_cast<std::size_t>(end - kClock)];
        }
    };
    auto entriesOf = [](const BootRecord& boot) { return std::max<std::int64_t>(boot.OnTime / 60, 1); };

    int shown = -1;
    for (int b = n; b >= 1; --b) {
        const BootRecord& r = boot(b);
        const int login = minuteOfDay(r.LogIn.view());
        if (login >= 0)
            cover(login + 1, entriesOf(r), everyEntry, diff);
        if (progress) {
            const double percent = 100.0 - static_cast<double>(b) / n * 100.0;
            const int rounded = static_cast<int>(std::lround(percent));
            if (rounded != shown) {
                shown = rounded;
                progress(shown);
            }
        }
    }

    std::int64_t running = 0;
    for (std::size_t k = 0; k < Verlauf.size(); ++k) {
        running += diff[k];
        Verlauf[k].Value = saturate32(Verlauf[k].Value + everyEntry + running);
    }

    // The work table is left holding the entries of the boot processed last, boot 1.
    std::array<std::int64_t, kMinutePoints + 1> single{};
    std::int64_t singleWhole = 0;
    if (n >= 1 && minuteOfDay(boot(1).LogIn.view()) >= 0)
        cover(minuteOfDay(boot(1).LogIn.view()) + 1, entriesOf(boot(1)), singleWhole, single);
    running = 0;
    for (std::size_t k = 0; k < Einzelverlauf.size(); ++k) {
        running += single[k];
        Einzelverlauf[k].Value = saturate32(singleWhole + running);
    }
}

}  // namespace quomble
