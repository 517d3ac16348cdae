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

// The real olvi on a private X server, or a private Wayland compositor, with
// the layouts us,ru and a private data folder, driven by real key (and, on X,
// mouse) events like a user at the desk.
class OlviSession
{
public:
    static constexpr int latinGroup = 0;
    static constexpr int russianGroup = 1;

    OlviSession();
    ~OlviSession();

    // Starts the X server; false with error() when it cannot. With a scale
    // factor the screen and the window are that many times larger (HiDPI).
    bool start(double scale = 1.0);
    // Starts sway instead; the app then runs on Wayland, as sway's user.
    bool startSway();
    [[nodiscard]] QString error() const { return sway ? sway->error() : server.error(); }

    [[nodiscard]] QString profilePath() const;
    void writeProfile(const QByteArray &bytes) const;
    [[nodiscard]] QByteArray profileBytes() const;
    [[nodiscard]] std::optional<ProfileData> profile() const;

    // Starts the app (its binary is given by the build).
    void launch();
    // Starts the app and waits until its window is painted and focused.
    bool launchAndWait(int ms = 15000);
    // From anywhere: the manuscript tab, its continue button, and the exercise
    // typed in the Russian layout that it selects.
    bool continueManuscript(int ms = 10000);
    // Polls a condition every few milliseconds, handling events, up to `ms`.
    static bool waitFor(const std::function<bool()> &condition, int ms);
    // The window is up and painted (the header bar has its colour); it then
    // gets the focus, as a window manager would give it.
    [[nodiscard]] bool painted() const;
    // Where the accent-filled controls below the header are, if any.
    [[nodiscard]] QRect accentControl() const;
    // The manuscript editor's card fills most of the screen.
    [[nodiscard]] bool editorShown() const;
    // The course screen: the sidebar's wide continue button.
    [[nodiscard]] bool courseShown() const;
    // The manuscript summary: its continue button is the one accent control.
    [[nodiscard]] bool summaryShown() const;
    // The progress screen: its four tiles span the width under the header.
    [[nodiscard]] bool progressShown() const;
    // The training screen: its status bar spans the bottom of the window.
    [[nodiscard]] bool trainingShown() const;
    // Centre of a tab button of the header (0 course … 3 progress).
    [[nodiscard]] static QPoint tab(int index);
    // Types every character; false at the first one no key types.
    bool typeText(const QString &text);
    // Closes the window and waits for the process; its exit code, or -1.
    int closeAndWait();
    [[nodiscard]] qint64 pid() const { return olvi.processId(); }

    double scale = 1.0;
    QString layouts = QStringLiteral("us,ru"); // the X server's, set at start
    // Extra variables for the app's environment, and whether its standard
    // error is kept for the caller (read olvi) instead of passed through.
    QProcessEnvironment extraEnvironment;
    bool keepErrors = false;
    XvfbServer server;
    QTemporaryDir data;
    std::unique_ptr<XTestKeyboard> user; // on X
    std::unique_ptr<SwayDesk> sway;      // on Wayland
    Desk *desk = nullptr;                // the one of the two in use
    QProcess olvi;
};
