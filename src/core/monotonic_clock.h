// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

// A reading of a monotonic clock in seconds; only differences between readings
// mean anything. Injected wherever timing is measured, so tests step it exactly.
using MonotonicClock = std::function<double()>;

// The system's monotonic clock.
[[nodiscard]] MonotonicClock systemMonotonicClock();
