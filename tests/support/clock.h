#pragma once

#include "core/datetime.h"

#include <memory>

namespace quomble::testing {

// The tests' "now": Monday, 07.12.2026 12:00:00.
inline constexpr CivilDateTime kNow{2026, 12, 7, 12, 0, 0};

// A clock the test can move: the model reads whatever the test last set.
struct SettableClock {
    std::shared_ptr<CivilDateTime> now = std::make_shared<CivilDateTime>(kNow);
    Clock clock() const
    {
        auto shared = now;
        return [shared] { return *shared; };
    }
    void set(CivilDateTime at) const { *now = at; }
};

}  // namespace quomble::testing
