// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "narrator.h"

#include "exercise_text.h"
#include "manuscript.h"
#include "speech_text.h"

Narrator::Narrator(QObject *parent) : AppViewModel(parent) {}

QList<QMetaObject::Connection> Narrator::follow(AppState &app)
{
    m_card.setApp(&app);
    SessionEngine *engine = app.engine();
    // What the menu says of speech was read before there was an app to ask.
    Q_EMIT speechChanged();
    return {
        connect(engine, &SessionEngine::textChanged, this, [this] { note(Event::started); }),
        connect(engine, &SessionEngine::positionChanged, this, [this] { note(Event::moved); }),
        connect(&app, &AppState::keyTaken, this,
                [this](KeyResult r) {
                    if (r == KeyResult::wrong)
                        note(Event::wrong);
                }),
        connect(engine, &SessionEngine::wrongLayoutWarningChanged, this,
                [this, engine] {
                    if (engine->wrongLayoutWarning())
                        note(Event::warning);
                }),
        connect(&app, &AppState::lastResultChanged, this,
                [this, &app] {
                    if (app.lastResult())
                        note(Event::result);
                }),
        connect(&app, &AppState::speechChanged, this,
                [this, &app] {
                    if (app.speechOn())
                        note(Event::speechOn);
                    Q_EMIT speechChanged();
                }),
    };
}

bool Narrator::speechOn() const
{
    return app() && app()->speechOn();
}

QString Narrator::speechTitle() const
{
    return SpeechText::menuTitle(app() ? app()->speech()->availability()
                                       : SpeechOutput::Availability::noEngine);
}

void Narrator::toggleSpeech()
{
    if (app())
        app()->setSpeechOn(!app()->speechOn());
}

void Narrator::spellRest()
{
    note(Event::spell);
}

void Narrator::note(Event event)
{
    m_events |= event;
    if (!std::exchange(m_posted, true))
        QMetaObject::invokeMethod(this, &Narrator::tell, Qt::QueuedConnection);
}

int Narrator::wordStart(int at) const
{
    const QStringList &text = app()->engine()->text();
    if (at < 0 || at >= text.size() || text.at(at) == u" ")
        return -1;
    while (at > 0 && text.at(at - 1) != u" ")
        --at;
    return at;
}

QStringList Narrator::wordFrom(int from) const
{
    const QStringList &text = app()->engine()->text();
    int to = from;
    while (to < text.size() && text.at(to) != u" ")
        ++to;
    return text.mid(from, to - from);
}

void Narrator::tell()
{
    m_posted = false;
    const Events events = std::exchange(m_events, {});
    if (!app())
        return;
    const AppState &a = *app();
    const SessionEngine &engine = *a.engine();
    const int position = engine.position();
    const int word = wordStart(position);

    // One thing is said, the newest that matters most: a result outweighs
    // the key that brought it, a warning the key, a new exercise the caret.
    QString announcement;
    QString speech;
    if (events.testFlag(Event::result) && a.lastResult()) {
        announcement = speech = m_card.spoken();
    } else if (events.testFlag(Event::warning) && engine.wrongLayoutWarning()) {
        announcement = speech = ExerciseText::layoutWarningFor(a.physicalKeysOffered(), a.russianLayoutMissing());
    } else if (events.testFlag(Event::started) && !engine.finished()) {
        const qint64 fragments =
            a.manuscriptMode()
                ? Manuscript::chunks(a.store()->data().manuscript.value_or(QString())).size()
                : 0;
        announcement = ExerciseText::captionOf(a, fragments);
        speech = SpeechText::start(announcement, SpeechText::word(wordFrom(position)));
        m_spokenWord = word;
    } else if (events.testFlag(Event::wrong)) {
        announcement = SpeechText::wrongKey();
        // With the alert sound on, the sound alone tells it.
        if (!a.store()->data().soundOn)
            speech = announcement;
    } else if (events.testFlag(Event::spell) && !engine.finished()) {
        const QString ch = engine.expected();
        announcement = speech = ch == u" " ? SpeechText::name(ch)
                                            : SpeechText::spelled(wordFrom(position));
    } else if (events.testFlag(Event::moved) && word >= 0 && word != m_spokenWord) {
        m_spokenWord = word;
        speech = SpeechText::word(wordFrom(word));
    } else if (events.testFlag(Event::speechOn)) {
        speech = SpeechText::speechTurnedOn();
    }
    if (!announcement.isEmpty())
        Q_EMIT announced(announcement);
    if (!speech.isEmpty() && a.speechOn())
        a.speech()->say(speech);
}
