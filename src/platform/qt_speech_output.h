// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "speech_output.h"

#include <QThread>


// Speech through Qt TextToSpeech, preferring speech-dispatcher (the desktop's
// own speech service, which Orca uses too) and a Russian voice. Starting an
// engine can take a second (speech-dispatcher may have to be spawned), and
// every request is a round trip to its server, so the engine lives on a
// thread of its own: say() only posts the text there.
class QtSpeechOutput final : public SpeechOutput
{
    Q_OBJECT

public:
    QtSpeechOutput();
    ~QtSpeechOutput() override;

    void prepare() override;
    [[nodiscard]] Availability availability() const override { return m_availability; }
    void say(const QString &text) override;

private:
    void setAvailability(Availability availability);

    QThread m_thread;
    QObject *m_reader = nullptr; // lives on m_thread
    Availability m_availability = Availability::checking;
    bool m_prepared = false;
};
