// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "alert_sound.h"
#include "app_state.h"
#include "fake_input_sources.h"
#include "file_chooser.h"
#include "profile_json.h"
#include "profile_store.h"
#include "session_engine.h"
#include "speech_output.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <memory>

class CountingAlertSound final : public AlertSound
{
public:
    int beeps = 0;
    void beep() override { ++beeps; }
};

// Keeps what it is asked to say; its availability is the test's to set.
class RecordingSpeech final : public SpeechOutput
{
public:
    Availability available = Availability::ready;
    QStringList said;
    [[nodiscard]] Availability availability() const override { return available; }
    void prepare() override {}
    void say(const QString &text) override { said << text; }
    void becomes(Availability a)
    {
        available = a;
        Q_EMIT availabilityChanged();
    }
};

// Answers with the file the test chose; without one, like a desktop without
// a portal, it cannot ask.
struct FakeFileChooser final : FileChooser
{
    QString answer;
    QStringList proposed;
    void ask(const Request &request) override
    {
        proposed << request.suggestedName;
        answer.isEmpty() ? Q_EMIT unavailable() : Q_EMIT chosen(answer);
    }
};

// A profile holding only the learner's own text, at a stored fragment or none.
inline ProfileData withManuscript(const QString &text, std::optional<qint64> chunk = std::nullopt)
{
    ProfileData p;
    p.manuscript = text;
    p.manuscriptChunk = chunk;
    return p;
}

// An AppState on a private data folder, with a hand-stepped clock, a seeded
// random source, fake layouts (Latin selected), a counted alert sound, a
// fake file chooser and a recording speech output.
struct AppRig
{
    QTemporaryDir folder;
    double clock = 1000.0;
    QDateTime now = QDateTime(QDate(2026, 12, 6), QTime(12, 0));
    QRandomGenerator random{20261206};
    FakeInputSources sources;
    CountingAlertSound sound;
    FakeFileChooser files;
    RecordingSpeech speech;
    std::unique_ptr<AppState> app;

    // Seeds the profile file, then starts the app on it.
    explicit AppRig(const std::optional<ProfileData> &profile = std::nullopt)
    {
        sources.sources = {{QStringLiteral("English (US)"), {}}, {QStringLiteral("Russian"), {}}};
        sources.current = 0;
        if (profile && QDir(folder.path()).mkpath(QStringLiteral("Olvi"))) {
            QFile file(folder.filePath(QStringLiteral("Olvi/profile.json")));
            if (file.open(QIODevice::WriteOnly))
                file.write(ProfileJson::encode(*profile));
        }
        app = std::make_unique<AppState>(AppServices{&sources, &sound, &files, folder.path(),
                                                     [this] { return clock; }, &random,
                                                     [this] { return now; }, &speech, {}});
    }

    [[nodiscard]] SessionEngine &engine() const { return *app->engine(); }
    [[nodiscard]] const ProfileData &profile() const { return app->store()->data(); }
    [[nodiscard]] std::optional<ProfileData> profileOnDisk() const
    {
        QFile file(folder.filePath(QStringLiteral("Olvi/profile.json")));
        return file.open(QIODevice::ReadOnly) ? ProfileJson::decode(file.readAll()) : std::nullopt;
    }

    // Types the rest of the exercise correctly, one key every `gap` seconds.
    void typeRest(double gap = 0.2)
    {
        while (!engine().finished() && !engine().expected().isEmpty()) {
            clock += gap;
            app->handleKey(engine().expected());
        }
    }
};
