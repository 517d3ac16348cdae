// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "file_chooser.h"

// For an Olvi given no file chooser: it never asks, so the caller asks with
// a dialog of its own.
class NullFileChooser final : public FileChooser
{
    Q_OBJECT

public:
    using FileChooser::FileChooser;

    void ask(const Request &) override { Q_EMIT unavailable(); }
};
