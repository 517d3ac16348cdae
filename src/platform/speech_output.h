// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

// A voice that reads texts aloud. Like the alert sound it must return at once:
// typing never waits for speech.
class SpeechOutput : public QObject
{
    Q_OBJECT

public:
    enum class Availability {
        checking,       // not looked for yet, or being started
        ready,          // a Russian voice speaks
        noEngine,       // no speech engine is installed or none starts
        noRussianVoice, // an engine, but no voice speaks Russian
    };
    Q_ENUM(Availability)

    using QObject::QObject;

    [[nodiscard]] virtual Availability availability() const = 0;
    // Looks for an engine and a Russian voice, once, without waiting for
    // them: availabilityChanged() tells the answer. Nothing is started
    // before, so a learner who never turns speech on never starts an engine.
    virtual void prepare() = 0;
    // Reads `text`, cutting off whatever is still being read: the learner
    // wants the newest thing first, never a queue of stale words.
    virtual void say(const QString &text) = 0;

Q_SIGNALS:
    void availabilityChanged();
};

// Where there is no speech at all: it says so, and stays silent.
class NullSpeechOutput final : public SpeechOutput
{
    Q_OBJECT

public:
    using SpeechOutput::SpeechOutput;

    [[nodiscard]] Availability availability() const override { return Availability::noEngine; }
    void prepare() override {}
    void say(const QString &) override {}
};
