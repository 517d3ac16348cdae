// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "monotonic_clock.h"

#include <QList>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

// One accepted keystroke: the character that was expected (not the one typed),
// whether it was wrong, and for a correct key after a short gap the time since
// the previous accepted key.
struct KeyEvent
{
    QString character;
    bool error = false;
    std::optional<double> latency;

    friend bool operator==(const KeyEvent &, const KeyEvent &) = default;
};

enum class KeyResult { correct, wrong, wrongLayout, finished, ignored };

// What an exercise does with a character no key of the Russian layout types.
enum class Untypeable {
    keep,     // it must be typed (generated texts never hold one)
    passOver, // the caret steps over it as if typed: the learner's own texts
};

// The state machine of one exercise: the text, the cursor, the mistakes and the
// timing. The cursor only moves on the right key; there is no correction.
class SessionEngine : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QStringList text READ text NOTIFY textChanged)
    Q_PROPERTY(int position READ position NOTIFY positionChanged)
    Q_PROPERTY(QSet<int> errorPositions READ errorPositions NOTIFY errorPositionsChanged)
    Q_PROPERTY(bool finished READ finished NOTIFY finishedChanged)
    Q_PROPERTY(bool wrongLayoutWarning READ wrongLayoutWarning WRITE setWrongLayoutWarning NOTIFY
                       wrongLayoutWarningChanged)

public:
    // Gaps between accepted keys of this length or more are pauses: they count
    // neither as active time nor as latency.
    static constexpr double pauseLimit = 5.0;

    explicit SessionEngine(QObject *parent = nullptr);
    explicit SessionEngine(MonotonicClock clock, QObject *parent = nullptr);

    [[nodiscard]] const QStringList &text() const { return m_text; }
    [[nodiscard]] int position() const { return m_position; }
    [[nodiscard]] const QSet<int> &errorPositions() const { return m_errorPositions; }
    [[nodiscard]] bool finished() const { return m_finished; }
    [[nodiscard]] bool wrongLayoutWarning() const { return m_wrongLayoutWarning; }
    void setWrongLayoutWarning(bool on);

    [[nodiscard]] int errorCount() const { return m_errorCount; }
    [[nodiscard]] std::optional<double> startTime() const { return m_startTime; }
    [[nodiscard]] std::optional<double> lastKeyTime() const { return m_lastKeyTime; }
    [[nodiscard]] double activeSeconds() const { return m_activeSeconds; }
    [[nodiscard]] const QList<KeyEvent> &keyEvents() const { return m_keyEvents; }

    // The character to type next, or an empty string when none is left.
    [[nodiscard]] QString expected() const;
    // Share of the text typed, 0…1; 0 for an empty text.
    [[nodiscard]] double progress() const;
    // Characters per minute of active typing; 0 until more than a second of
    // it, when a figure would only be noise.
    [[nodiscard]] double speed() const;
    // Correct keys among all accepted keys, 0…1; 1 before the first key.
    [[nodiscard]] double accuracy() const;

    // Begins a new exercise on `text`, forgetting everything of the last one.
    // With `passOver`, a text of nothing typeable is finished at once.
    void start(QStringView text, Untypeable untypeable = Untypeable::keep);
    // The same text again from its start, with everything measured discarded.
    void restart();
    // Takes one typed character (only the first of several; nothing for none).
    KeyResult handle(QStringView typed);

    // Whether `typed` counts as `expected`: canonical equality, plus the ASCII
    // stand-ins a keyboard has for «, » and —. Case always matters, and "е"
    // never stands for "ё".
    [[nodiscard]] static bool matches(QStringView typed, QStringView expected);

Q_SIGNALS:
    void textChanged();
    void positionChanged();
    void errorPositionsChanged();
    void finishedChanged();
    void wrongLayoutWarningChanged();
    // The unpublished figures (error count, times, key events) changed: after
    // every accepted keystroke and on start.
    void statisticsChanged();

private:
    void setPosition(int position);
    void setFinished(bool finished);
    // The first position from `from` on that the learner has to type.
    [[nodiscard]] int typeableFrom(int from) const;

    MonotonicClock m_clock;
    QStringList m_text;
    Untypeable m_untypeable = Untypeable::keep;
    int m_position = 0;
    QSet<int> m_errorPositions;
    bool m_finished = false;
    bool m_wrongLayoutWarning = false;
    int m_errorCount = 0;
    std::optional<double> m_startTime;
    std::optional<double> m_lastKeyTime;
    double m_activeSeconds = 0.0;
    QList<KeyEvent> m_keyEvents;
};
