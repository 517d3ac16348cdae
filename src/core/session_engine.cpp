// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "session_engine.h"

#include "characters.h"
#include "russian_layout.h"

SessionEngine::SessionEngine(QObject *parent)
    : SessionEngine(systemMonotonicClock(), parent)
{
}

SessionEngine::SessionEngine(MonotonicClock clock, QObject *parent)
    : QObject(parent), m_clock(std::move(clock))
{
}

void SessionEngine::setWrongLayoutWarning(bool on)
{
    if (m_wrongLayoutWarning == on)
        return;
    m_wrongLayoutWarning = on;
    Q_EMIT wrongLayoutWarningChanged();
}

void SessionEngine::setPosition(int position)
{
    if (m_position == position)
        return;
    m_position = position;
    Q_EMIT positionChanged();
}

void SessionEngine::setFinished(bool finished)
{
    if (m_finished == finished)
        return;
    m_finished = finished;
    Q_EMIT finishedChanged();
}

QString SessionEngine::expected() const
{
    return m_position < m_text.size() ? m_text.at(m_position) : QString();
}

double SessionEngine::progress() const
{
    return m_text.isEmpty() ? 0.0 : double(m_position) / double(m_text.size());
}

int SessionEngine::typeableFrom(int from) const
{
    if (m_untypeable == Untypeable::keep)
        return from;
    while (from < m_text.size() && !RussianLayout::canType(m_text.at(from)))
        ++from;
    return from;
}

void SessionEngine::restart()
{
    // Joined first: start() replaces the list the text would be read from.
    const QString text = m_text.join(QString());
    start(text, m_untypeable);
}

double SessionEngine::speed() const
{
    return m_activeSeconds > 1.0 ? double(m_position) / m_activeSeconds * 60.0 : 0.0;
}

double SessionEngine::accuracy() const
{
    const qint64 total = qint64(m_position) + m_errorCount;
    return total >= 1 ? double(m_position) / double(total) : 1.0;
}

void SessionEngine::start(QStringView text, Untypeable untypeable)
{
    m_text = Characters::split(text);
    m_untypeable = untypeable;
    m_errorCount = 0;
    m_startTime.reset();
    m_lastKeyTime.reset();
    m_activeSeconds = 0.0;
    m_keyEvents.clear();
    m_keyEvents.reserve(m_text.size());
    // Statistics are reset before anyone hears of the new text, so an observer
    // of any signal below sees a consistent fresh exercise.
    const bool hadErrors = !m_errorPositions.isEmpty();
    m_errorPositions.clear();
    Q_EMIT textChanged();
    const int first = typeableFrom(0);
    setPosition(first);
    if (hadErrors)
        Q_EMIT errorPositionsChanged();
    setFinished(!m_text.isEmpty() && first == m_text.size());
    setWrongLayoutWarning(false);
    Q_EMIT statisticsChanged();
}

bool SessionEngine::matches(QStringView typed, QStringView expected)
{
    if (Characters::same(typed, expected))
        return true;
    const std::optional<QString> standIn = RussianLayout::standIn(expected);
    return standIn && typed == *standIn;
}

KeyResult SessionEngine::handle(QStringView typed)
{
    if (m_finished || m_position >= m_text.size() || typed.isEmpty())
        return KeyResult::ignored;
    // A stressed vowel is typed, and counted, as its plain letter.
    const QString want = RussianLayout::typedAs(m_text.at(m_position));
    const QString got = Characters::first(typed);

    if (Characters::isCyrillic(want) && Characters::isAsciiLetter(got)) {
        setWrongLayoutWarning(true);
        return KeyResult::wrongLayout;
    }

    const double now = m_clock();
    std::optional<double> latency;
    if (m_lastKeyTime && now - *m_lastKeyTime < pauseLimit) {
        latency = now - *m_lastKeyTime;
        m_activeSeconds += *latency;
    }
    if (!m_startTime)
        m_startTime = now;
    m_lastKeyTime = now;
    setWrongLayoutWarning(false);

    if (matches(got, want)) {
        m_keyEvents.append(KeyEvent{want, false, latency});
        const int next = typeableFrom(m_position + 1);
        if (next < m_text.size()) {
            setPosition(next);
            Q_EMIT statisticsChanged();
            return KeyResult::correct;
        }
        // Finished is set before the position is announced, so whoever redraws
        // on the last position already sees a finished exercise.
        m_finished = true;
        setPosition(next);
        Q_EMIT finishedChanged();
        Q_EMIT statisticsChanged();
        return KeyResult::finished;
    }

    ++m_errorCount;
    m_keyEvents.append(KeyEvent{want, true, std::nullopt});
    if (!m_errorPositions.contains(m_position)) {
        m_errorPositions.insert(m_position);
        Q_EMIT errorPositionsChanged();
    }
    Q_EMIT statisticsChanged();
    return KeyResult::wrong;
}
