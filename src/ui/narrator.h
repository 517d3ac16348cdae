// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app_view_model.h"
#include "result_card.h"

#include <QFlags>
#include <QObject>
#include <QQmlEngine>

// Tells what happens in an exercise to a learner who does not look: to a
// screen reader as announcements, and, with "Озвучивание" on, aloud through
// the speech output. At the start the caption and the first word, then each
// word as the caret reaches it, a wrong key, the layout warning and the
// result; on request the rest of the word letter by letter.
//
// Nothing is said from inside a keystroke: the keystroke only notes what
// happened, and one posted turn later the newest of it is said, so speech
// never delays the key's frame and a new word cuts off the old one.
class Narrator : public AppViewModel
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(bool speechOn READ speechOn NOTIFY speechChanged)
    // The menu item that turns speech on or off, or says why it cannot.
    Q_PROPERTY(QString speechTitle READ speechTitle NOTIFY speechChanged)

public:
    explicit Narrator(QObject *parent = nullptr);

    [[nodiscard]] bool speechOn() const;
    [[nodiscard]] QString speechTitle() const;

    Q_INVOKABLE void toggleSpeech();
    // The rest of the current word, letter by letter (Ctrl+Space).
    Q_INVOKABLE void spellRest();

Q_SIGNALS:
    void speechChanged();
    // A sentence for a screen reader to speak now.
    void announced(const QString &text);

private:
    enum class Event {
        started = 0x1, // a new exercise, or the same again
        moved = 0x2,   // the caret moved on
        wrong = 0x4,
        warning = 0x8, // the layout warning came up
        result = 0x10,
        spell = 0x20,
        speechOn = 0x40,
    };
    Q_DECLARE_FLAGS(Events, Event)

    QList<QMetaObject::Connection> follow(AppState &app) override;
    void note(Event event);
    void tell();
    // The word holding character `at` (from its first letter to the next
    // space), and where it starts; -1 on a space or past the end.
    [[nodiscard]] int wordStart(int at) const;
    [[nodiscard]] QStringList wordFrom(int from) const;

    ResultCard m_card;
    Events m_events;
    bool m_posted = false;
    int m_spokenWord = -1; // where the word last read starts
};
