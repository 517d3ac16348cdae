// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "desk.h"

using XTestKeyboard = Desk; // the name callers give a desk on X
