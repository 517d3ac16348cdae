// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app_state.h"

#include "alert_sound.h"
#include "characters.h"
#include "drill.h"
#include "generator.h"
#include "input_source_provider.h"
#include "manuscript.h"
#include "null_file_chooser.h"
#include "null_input_source_provider.h"
#include "profile_store.h"
#include "russian_layout.h"
#include "session_engine.h"
#include "speech_output.h"

#include <QRandomGenerator>

namespace {

// The service given, or else a null one kept in `owned`.
template<typename Null, typename Service>
Service &givenOrNull(Service *given, std::unique_ptr<Service> &owned)
{
    if (given)
        return *given;
    owned = std::make_unique<Null>();
    return *owned;
}

} // namespace

QList<AppState::Tab> AppState::allTabs()
{
    return {Tab::Course, Tab::Training, Tab::Manuscript, Tab::Progress};
}

AppState::AppState(const AppServices &services, QObject *parent)
    : QObject(parent),
      m_inputSources(&givenOrNull<NullInputSourceProvider>(services.inputSources,
                                                           m_ownedInputSources)),
      m_alertSound(services.alertSound),
      m_speech(&givenOrNull<NullSpeechOutput>(services.speech, m_ownedSpeech)),
      m_random(services.random ? services.random : QRandomGenerator::system()),
      m_now(services.now ? services.now : ProfileStore::systemClock()),
      m_switcher(*m_inputSources)
{
    m_engine = new SessionEngine(services.clock ? services.clock : systemMonotonicClock(), this);
    m_store = new ProfileStore(
        services.dataFolder.isEmpty() ? ProfileStore::defaultBaseFolder() : services.dataFolder,
        m_now, this);
    m_transfer = new ProgressTransfer(
        *m_store, givenOrNull<NullFileChooser>(services.fileChooser, m_ownedFileChooser), m_now,
        services.fileWording, this);
    m_activeLesson = Course::lesson(m_store->data().currentLessonID);

    // Whoever switches the layout away while an exercise is typed is answered
    // by switching back. Our own switch triggers this too, and then finds
    // Russian selected and stops.
    connect(m_inputSources, &InputSourceProvider::currentSourceChanged, this,
            &AppState::onInputSourceChanged);
    // Every exercise starts in Russian: a lesson, a drill, the manuscript, the
    // next one from the result card or the same one again. The learner may
    // have switched to another layout in between.
    connect(m_engine, &SessionEngine::textChanged, this, &AppState::prepareLayout);
    connect(m_store, &ProfileStore::dataChanged, this, &AppState::profileChanged);
    connect(m_speech, &SpeechOutput::availabilityChanged, this, &AppState::onSpeechAvailability);
    if (m_store->data().speechOn)
        m_speech->prepare();

    // One timer: a burst of Latin letters keeps the warning up for the whole
    // 1.5 s after the last of them, not after the first.
    m_warningTimer.setSingleShot(true);
    // A coarse timer may fire up to 5 % early; the warning's time is promised.
    m_warningTimer.setTimerType(Qt::PreciseTimer);
    m_warningTimer.setInterval(wrongLayoutWarningMs);
    connect(&m_warningTimer, &QTimer::timeout, this,
            [this] { m_engine->setWrongLayoutWarning(false); });
}

AppState::~AppState() = default;

void AppState::setTab(Tab tab)
{
    if (m_tab == tab)
        return;
    m_tab = tab;
    Q_EMIT tabChanged();
}

void AppState::setActiveLesson(const Lesson &lesson)
{
    if (m_activeLesson == lesson)
        return;
    m_activeLesson = lesson;
    Q_EMIT activeLessonChanged();
}

void AppState::setLastResult(std::optional<ExerciseResult> result)
{
    if (m_lastResult == result)
        return;
    m_lastResult = result;
    Q_EMIT lastResultChanged();
}

void AppState::setManuscriptMode(bool on)
{
    if (m_manuscriptMode == on)
        return;
    m_manuscriptMode = on;
    Q_EMIT manuscriptModeChanged();
}

void AppState::setPhysicalKeysOffered(bool offered)
{
    if (m_physicalKeysOffered == offered)
        return;
    m_physicalKeysOffered = offered;
    Q_EMIT physicalKeysOfferedChanged();
}

bool AppState::physicalKeys() const
{
    return m_store->data().physicalKeys;
}

bool AppState::typing() const
{
    return m_tab == Tab::Training && !m_lastResult && !m_engine->finished();
}

void AppState::prepareLayout()
{
    if (physicalKeys()) {
        setPhysicalKeysOffered(false);
        return;
    }
    m_switcher.enforceRussian();
    offerWayOut();
}

void AppState::restoreLearnerLayout()
{
    m_switcher.restoreLearnerLayout();
}

void AppState::offerWayOut()
{
    setPhysicalKeysOffered(!m_switcher.canSelectRussian());
    if (m_russianLayoutMissing != m_switcher.russianMissing()) {
        m_russianLayoutMissing = !m_russianLayoutMissing;
        Q_EMIT russianLayoutMissingChanged();
    }
}

QVariant AppState::lastResultValue() const
{
    return m_lastResult ? QVariant::fromValue(*m_lastResult) : QVariant();
}

void AppState::onInputSourceChanged()
{
    // The layouts, or the backend that reaches them, may have changed too.
    if (typing())
        prepareLayout();
}

QStringList AppState::manuscriptFragments() const
{
    return Manuscript::chunks(m_store->data().manuscript.value_or(QString()));
}

void AppState::startTraining(std::optional<Lesson> lesson)
{
    setManuscriptMode(false);
    setDrillKeys({});
    const Lesson chosen = lesson ? *lesson : Course::lesson(m_store->data().currentLessonID);
    setActiveLesson(chosen);
    setLastResult(std::nullopt);
    m_engine->start(Generator::exercise(chosen, m_store->data(), *m_random));
    setTab(Tab::Training);
}

void AppState::nextExercise()
{
    if (drillMode()) {
        startDrill();
        return;
    }
    setLastResult(std::nullopt);
    if (!m_manuscriptMode) {
        m_engine->start(Generator::exercise(m_activeLesson, m_store->data(), *m_random));
        return;
    }
    const QStringList fragments = manuscriptFragments();
    // A hand-edited negative index counts as the first fragment.
    const qint64 next =
        saturatingAdd(std::max<qint64>(m_store->data().manuscriptChunk.value_or(0), 0), 1);
    if (next >= fragments.size()) {
        setManuscriptMode(false);
        setTab(Tab::Manuscript);
        return;
    }
    m_store->update([next](ProfileData &d) { d.manuscriptChunk = next; });
    m_store->save();
    startFragment(fragments.at(next));
}

void AppState::startManuscript(std::optional<qint64> from)
{
    startManuscriptText(std::nullopt, from);
}

void AppState::startNewManuscript(const QString &text)
{
    startManuscriptText(text, 0);
}

void AppState::startManuscriptText(const std::optional<QString> &text, std::optional<qint64> from)
{
    const QStringList fragments =
        Manuscript::chunks(text ? *text : m_store->data().manuscript.value_or(QString()));
    if (fragments.isEmpty()) {
        setTab(Tab::Manuscript);
        return;
    }
    qint64 index = from ? *from : m_store->data().manuscriptChunk.value_or(0);
    index = std::clamp<qint64>(index, 0, fragments.size() - 1);
    // The text and where it is typed from, in one durable write.
    m_store->update([&text, index](ProfileData &d) {
        if (text)
            d.manuscript = *text;
        d.manuscriptChunk = index;
    });
    m_store->save();
    setDrillKeys({});
    setManuscriptMode(true);
    setLastResult(std::nullopt);
    startFragment(fragments.at(index));
    setTab(Tab::Training);
}

void AppState::startFragment(const QString &fragment)
{
    // The learner's own text may hold characters no Russian key types; the
    // caret steps over them, so every fragment can be finished.
    m_engine->start(fragment, Untypeable::passOver);
    if (m_engine->finished())
        finishExercise();
}

void AppState::restartExercise()
{
    setLastResult(std::nullopt);
    m_engine->restart();
}

void AppState::handleKey(const QString &character)
{
    const KeyResult result = m_engine->handle(character);
    switch (result) {
    case KeyResult::finished:
        finishExercise();
        break;
    case KeyResult::wrongLayout:
        // With physical keys only a key outside the layout's table can type a
        // Latin letter; there is no layout to blame or switch.
        if (physicalKeys()) {
            m_engine->setWrongLayoutWarning(false);
            break;
        }
        m_switcher.enforceRussian();
        offerWayOut();
        // A warning that offers a way out stays until the next accepted key,
        // so that the learner can reach its button.
        if (m_physicalKeysOffered)
            m_warningTimer.stop();
        else
            m_warningTimer.start();
        break;
    case KeyResult::wrong:
        if (m_store->data().soundOn && m_alertSound)
            m_alertSound->beep();
        Q_EMIT wrongKeyStruck(Characters::first(character));
        break;
    case KeyResult::correct:
    case KeyResult::ignored:
        break;
    }
    Q_EMIT keyTaken(result);
}

void AppState::toggleSound()
{
    m_store->update([](ProfileData &d) { d.soundOn = !d.soundOn; });
    m_store->save();
}

void AppState::setAppearance(Appearance appearance)
{
    m_store->update([appearance](ProfileData &d) { d.appearance = appearance; });
    m_store->save();
}

bool AppState::speechOn() const
{
    return m_store->data().speechOn
           && m_speech->availability() == SpeechOutput::Availability::ready;
}

void AppState::setSpeechOn(bool on)
{
    const auto availability = m_speech->availability();
    m_speechWanted = on && availability == SpeechOutput::Availability::checking;
    if (m_speechWanted) {
        m_speech->prepare(); // answered in onSpeechAvailability()
        return;
    }
    const bool stored = on && availability == SpeechOutput::Availability::ready;
    if (m_store->data().speechOn != stored) {
        m_store->update([stored](ProfileData &d) { d.speechOn = stored; });
        m_store->save();
    }
    Q_EMIT speechChanged();
}

void AppState::onSpeechAvailability()
{
    if (std::exchange(m_speechWanted, false))
        setSpeechOn(true);
    else
        Q_EMIT speechChanged();
}

void AppState::setPhysicalKeys(bool on)
{
    if (physicalKeys() == on)
        return;
    m_store->update([on](ProfileData &d) { d.physicalKeys = on; });
    m_store->save();
    if (on) {
        m_warningTimer.stop();
        m_engine->setWrongLayoutWarning(false);
        setPhysicalKeysOffered(false);
    } else if (typing()) {
        prepareLayout();
    }
}

void AppState::finishExercise()
{
    const SessionEngine &e = *m_engine;
    const double speed = e.speed();
    const double accuracy = e.accuracy();

    // Everything the exercise changes in one update and one durable write:
    // the keys, the day and the pass.
    const QString day = dayKeyForDate(today());
    const bool passed = accuracy >= passAccuracy;
    const bool counts =
        passed && !m_manuscriptMode && !drillMode() && m_activeLesson.kind != LessonKind::prose;
    bool lessonCompleted = false;
    m_store->update([&](ProfileData &d) {
        for (const KeyEvent &event : e.keyEvents()) {
            d.recordKey(event.character, event.error, event.latency, day);
            // Shift has a record of its own, so that a drill can aim at it.
            if (RussianLayout::needsShift(event.character))
                d.recordKey(Drill::shiftKey, event.error, std::nullopt, day);
        }
        d.recordDay(ProfileStore::dayKey(now()), e.text().size(), e.errorCount(),
                    e.activeSeconds(), speed);
        if (counts)
            lessonCompleted = d.recordPass(m_activeLesson.id);
    });
    m_store->save();
    ExerciseResult result{speed, accuracy, passed, lessonCompleted, {}, {}};
    if (lessonCompleted)
        result.consolidate = Drill::consolidation(m_activeLesson, m_store->data(), today());
    if (drillMode())
        result.drillOutcomes = Drill::outcomes(m_drillKeys, m_beforeDrill, e.keyEvents());
    setLastResult(result);
    // The card speaks of the lesson the course moved on to, and its button
    // starts it.
    if (lessonCompleted)
        setActiveLesson(Course::lesson(m_store->data().currentLessonID));
}

// ---- drills beside the course

void AppState::setDrillKeys(const QStringList &keys, DrillKind kind)
{
    if (m_drillKeys == keys && m_drillKind == kind)
        return;
    m_drillKeys = keys;
    m_drillKind = kind;
    Q_EMIT drillKeysChanged();
}

void AppState::startDrill(const QStringList &focusKeys)
{
    beginDrill(Drill::keysFor(focusKeys, m_store->data(), today()), DrillKind::Focus);
}

void AppState::consolidate()
{
    if (m_lastResult && !m_lastResult->consolidate.isEmpty())
        beginDrill(m_lastResult->consolidate, DrillKind::Consolidation);
}

void AppState::beginDrill(const QStringList &keys, DrillKind kind)
{
    const ProfileData &profile = m_store->data();
    setManuscriptMode(false);
    setDrillKeys(keys, kind);
    setLastResult(std::nullopt);
    m_beforeDrill = profile;
    m_engine->start(Drill::exercise(keys, profile, today(), *m_random));
    setTab(Tab::Training);
}
