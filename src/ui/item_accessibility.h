// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The accessible interfaces of the window's own C++ items (ExerciseLines,
// Announcer), which Qt Quick's generic item interface cannot express.
namespace ItemAccessibility {

// Makes them known to Qt's accessibility, once; every such item calls it.
void install();

} // namespace ItemAccessibility
