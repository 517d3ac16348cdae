// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "profile_data.h"
#include "sway_desk.h"
#include "x_test_keyboard.h"
#include "xvfb_server.h"

#include <QProcess>
#include <QRect>
#include <QTemporaryDir>

#include <functional>
#include <memory>
#include <optional>

// The real olvi on a private X server (layouts us,ru) or a private Wayland compositor,
// with a private data folder, driven by real key (and, on X, mouse) events like a user
// at the desk. Its screens are told apart by the light palette's colours.
class OlviSession
{
public:
    static constexpr int latinGroup = 0;
    static constexpr int russianGroup = 1;

    ~OlviSession();

    // Starts the X server; false with error() when it cannot. With a scale
    // factor the screen and the window are that many times larger (HiDPI).
    bool start(double scale = 1.0);
    // Starts sway instead; the app then runs on Wayland, as sway's user.
    bool startSway();
    [[nodiscard]] QString error() const { return sway ? sway->error() : server.error(); }

    void writeProfile(const QByteArray &bytes) const;
    [[nodiscard]] QByteArray profileBytes() const;
    [[nodiscard]] std::optional<ProfileData> profile() const;

    // Starts the app (its binary is given by the build), or also waits until it is painted.
    void launch();
    bool launchAndWait(int ms = 15000);
    // Types lesson 1 without knowing its text: strikes the keys where ЙЦУКЕН has
    // its letters а and о (F and J of a Latin keyboard) and the space bar in
    // turn until the exercise is recorded.
    bool typeLessonOneByPlace();
    // Waits until the app has taken every key struck so far, as a typist waits
    // for the screen: a Wayland compositor drops a client that falls far behind.
    bool catchUp();
    // Polls a condition every few milliseconds, handling events, up to `ms`.
    static bool waitFor(const std::function<bool()> &condition, int ms);
    // The header bar is painted; the window then gets the focus, as from a window manager.
    [[nodiscard]] bool painted() const;
    // Where the accent-filled controls below the header are, if any.
    [[nodiscard]] QRect accentControl() const;
    [[nodiscard]] bool editorShown() const;   // its card fills most of the screen
    [[nodiscard]] bool courseShown() const;   // the sidebar's wide continue button
    [[nodiscard]] bool summaryShown() const;  // the manuscript's: one accent control
    [[nodiscard]] bool progressShown() const; // four tiles span the width
    [[nodiscard]] bool trainingShown() const; // its status bar spans the bottom
    // Centre of a tab button of the header (0 course … 3 progress).
    [[nodiscard]] static QPoint tab(int index);
    // Types every character; false at the first one no key types.
    bool typeText(const QString &text);
    // Closes the window and waits for the process; its exit code, or -1.
    int closeAndWait();
    [[nodiscard]] qint64 pid() const { return olvi.processId(); }

    double scale = 1.0;
    QString layouts = QStringLiteral("us,ru"); // the X server's, set at start
    QProcessEnvironment extraEnvironment; // added to the app's environment
    bool keepErrors = false; // its standard error kept to be read from olvi, not passed on
    QString binary; // another build's, to compare (on X); empty: this build's
    XvfbServer server;
    QTemporaryDir data;
    std::unique_ptr<XTestKeyboard> user; // on X
    std::unique_ptr<SwayDesk> sway;      // on Wayland
    Desk *desk = nullptr;                // the one of the two in use
    QProcess olvi;
};
