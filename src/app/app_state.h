// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "course.h"
#include "drill.h"
#include "layout_switcher.h"
#include "monotonic_clock.h"
#include "profile_store.h"
#include "progress_transfer.h"
#include "session_engine.h"

#include <QDateTime>
#include <QObject>
#include <QTimer>
#include <QVariant>

#include <functional>
#include <memory>
#include <optional>

class AlertSound;
class FileChooser;
class InputSourceProvider;
class QRandomGenerator;
class SpeechOutput;

// The figures of an exercise just finished.
struct ExerciseResult
{
    Q_GADGET
    Q_PROPERTY(double speed MEMBER speed)
    Q_PROPERTY(double accuracy MEMBER accuracy)
    Q_PROPERTY(bool passed MEMBER passed)
    Q_PROPERTY(bool lessonCompleted MEMBER lessonCompleted)

public:
    double speed = 0.0;    // characters per minute of active typing
    double accuracy = 1.0; // correct keys among all accepted keys, 0…1
    bool passed = false;
    bool lessonCompleted = false; // this exercise moved the course on
    // After a completed lesson: its keys not yet sure or still often wrong,
    // which a drill would settle (Drill::consolidation).
    QStringList consolidate;
    // After a drill: how each of its keys went, against before.
    QList<Drill::KeyOutcome> drillOutcomes;

    friend bool operator==(const ExerciseResult &, const ExerciseResult &) = default;
};

// What the application needs from outside; tests pass fakes, production the
// real services. Null members get harmless defaults.
struct AppServices
{
    InputSourceProvider *inputSources = nullptr; // not owned
    AlertSound *alertSound = nullptr;            // not owned
    FileChooser *fileChooser = nullptr;          // not owned; null: the screen's own dialog
    QString dataFolder;                          // empty: the user's data folder
    MonotonicClock clock;                        // empty: the system's monotonic clock
    QRandomGenerator *random = nullptr;          // null: the system generator
    std::function<QDateTime()> now;              // empty: the current local time
    SpeechOutput *speech = nullptr;              // not owned; null: no speech
    ProgressTransfer::Wording fileWording;       // what file dialogs say; empty: untitled
};

// The one controller: which tab is shown, which lesson is practised, the
// exercise being typed and its result. Owns the profile store and the session
// engine for its whole life.
class AppState : public QObject
{
    Q_OBJECT
    Q_PROPERTY(Tab tab READ tab WRITE setTab NOTIFY tabChanged)
    Q_PROPERTY(Lesson activeLesson READ activeLesson WRITE setActiveLesson NOTIFY
                       activeLessonChanged)
    Q_PROPERTY(QVariant lastResult READ lastResultValue NOTIFY lastResultChanged)
    Q_PROPERTY(bool manuscriptMode READ manuscriptMode NOTIFY manuscriptModeChanged)
    // No Russian layout can be selected for the exercise: typing by the keys'
    // places (physical keys) is the way out to offer.
    Q_PROPERTY(bool physicalKeysOffered READ physicalKeysOffered NOTIFY
                       physicalKeysOfferedChanged)
    // The system's layouts are known and none is Russian: there is none to
    // turn on, so typing by the keys' places is the only way.
    Q_PROPERTY(bool russianLayoutMissing READ russianLayoutMissing NOTIFY
                       russianLayoutMissingChanged)
    // The keys a drill practises; empty unless a drill is typed.
    Q_PROPERTY(QStringList drillKeys READ drillKeys NOTIFY drillKeysChanged)
    // The learner chose speech and a Russian voice is there to read.
    Q_PROPERTY(bool speechOn READ speechOn NOTIFY speechChanged)
    Q_PROPERTY(DrillKind drillKind READ drillKind NOTIFY drillKeysChanged)
    Q_PROPERTY(SessionEngine *engine READ engine CONSTANT)
    Q_PROPERTY(ProfileStore *store READ store CONSTANT)
    Q_PROPERTY(ProgressTransfer *transfer READ transfer CONSTANT)

public:
    // QML needs enum keys with a capital first letter.
    enum class Tab { Course, Training, Manuscript, Progress };
    Q_ENUM(Tab)
    // Why a drill was started: for the keys least sure of, or to settle the
    // keys of a lesson just completed.
    enum class DrillKind { Focus, Consolidation };
    Q_ENUM(DrillKind)

    // In the order the header shows them.
    [[nodiscard]] static QList<Tab> allTabs();

    // A pass needs at least this accuracy.
    static constexpr double passAccuracy = 0.96;
    // How long the wrong-layout warning stays after a Latin letter.
    static constexpr int wrongLayoutWarningMs = 1500;

    explicit AppState(const AppServices &services = {}, QObject *parent = nullptr);
    ~AppState() override;

    [[nodiscard]] Tab tab() const { return m_tab; }
    void setTab(Tab tab);
    [[nodiscard]] const Lesson &activeLesson() const { return m_activeLesson; }
    void setActiveLesson(const Lesson &lesson);
    [[nodiscard]] const std::optional<ExerciseResult> &lastResult() const { return m_lastResult; }
    // The result for QML: the gadget, or an invalid variant when absent.
    [[nodiscard]] QVariant lastResultValue() const;
    [[nodiscard]] bool manuscriptMode() const { return m_manuscriptMode; }
    [[nodiscard]] bool physicalKeysOffered() const { return m_physicalKeysOffered; }
    [[nodiscard]] bool russianLayoutMissing() const { return m_russianLayoutMissing; }
    // Whether keys type by their place in the Russian layout (the profile's choice).
    [[nodiscard]] bool physicalKeys() const;
    [[nodiscard]] const QStringList &drillKeys() const { return m_drillKeys; }
    [[nodiscard]] bool drillMode() const { return !m_drillKeys.isEmpty(); }
    [[nodiscard]] bool speechOn() const;
    [[nodiscard]] SpeechOutput *speech() const { return m_speech; }
    [[nodiscard]] DrillKind drillKind() const { return m_drillKind; }
    [[nodiscard]] SessionEngine *engine() const { return m_engine; }
    [[nodiscard]] ProfileStore *store() const { return m_store; }
    [[nodiscard]] ProgressTransfer *transfer() const { return m_transfer; }
    // The current moment by the clock the application was given: the one
    // clock of day records, streaks and every figure shown.
    [[nodiscard]] QDateTime now() const { return m_now(); }
    [[nodiscard]] QDate today() const { return m_now().date(); }

    // Starts an exercise of `lesson`, or of the profile's current lesson.
    Q_INVOKABLE void startTraining(std::optional<Lesson> lesson = std::nullopt);
    // After a result: the next exercise of the lesson or the next fragment.
    Q_INVOKABLE void nextExercise();
    // Types the user's own text from fragment `from`, or from the stored one.
    Q_INVOKABLE void startManuscript(std::optional<qint64> from = std::nullopt);
    // Keeps `text` (cleaned) as the learner's own text and types its first fragment.
    void startNewManuscript(const QString &text);
    // The same text again from its start, with everything measured discarded.
    Q_INVOKABLE void restartExercise();
    // One typed character.
    Q_INVOKABLE void handleKey(const QString &character);
    // Whether a wrong key sounds; saved at once.
    Q_INVOKABLE void toggleSound();
    // The colour scheme the learner chose (the field is present from then on,
    // "system" too); saved at once.
    void setAppearance(Appearance appearance);
    // Turns speech on or off; saved at once. On waits for the engine to be
    // looked for, and stays off when there is no Russian voice.
    Q_INVOKABLE void setSpeechOn(bool on);
    // Types by the keys' places instead of the system's layout, or back;
    // saved at once.
    Q_INVOKABLE void setPhysicalKeys(bool on);
    // Drills `focusKeys` beside the course (none, or none unlocked: the keys
    // the learner is least sure of). After its result the drill goes on with
    // keys chosen afresh; starting a lesson or the manuscript ends it.
    Q_INVOKABLE void startDrill(const QStringList &focusKeys = {});
    // After a completed lesson whose result offers it: a drill of the keys
    // to settle.
    Q_INVOKABLE void consolidate();
    // At the end of the session: the layout the learner had before Olvi
    // selected Russian, unless they have chosen another one since.
    void restoreLearnerLayout();

Q_SIGNALS:
    void tabChanged();
    void activeLessonChanged();
    void lastResultChanged();
    void manuscriptModeChanged();
    void physicalKeysOfferedChanged();
    void russianLayoutMissingChanged();
    void drillKeysChanged();
    void speechChanged();
    // A typed character was handled, with the engine's answer; emitted once
    // everything it changed (a result too) is in place.
    void keyTaken(KeyResult result);
    // The profile changed (forwarded from the store).
    void profileChanged();
    // A wrong key was struck while typing; `typed` is what it typed.
    void wrongKeyStruck(const QString &typed);

private:
    void finishExercise();
    void startManuscriptText(const std::optional<QString> &text, std::optional<qint64> from);
    void startFragment(const QString &fragment);
    void setLastResult(std::optional<ExerciseResult> result);
    void setManuscriptMode(bool on);
    void setPhysicalKeysOffered(bool offered);
    // Before typing (at the start of every exercise, whatever starts it, and
    // when the layouts change while typing): the Russian layout selected, or
    // the way out offered when none can be; nothing with physical keys.
    void prepareLayout();
    void offerWayOut();
    [[nodiscard]] bool typing() const;
    void setDrillKeys(const QStringList &keys, DrillKind kind = DrillKind::Focus);
    void beginDrill(const QStringList &keys, DrillKind kind);
    void onInputSourceChanged();
    void onSpeechAvailability();
    [[nodiscard]] QStringList manuscriptFragments() const;

    std::unique_ptr<InputSourceProvider> m_ownedInputSources;
    std::unique_ptr<FileChooser> m_ownedFileChooser;
    std::unique_ptr<SpeechOutput> m_ownedSpeech;
    InputSourceProvider *m_inputSources = nullptr;
    AlertSound *m_alertSound = nullptr;
    SpeechOutput *m_speech = nullptr;
    bool m_speechWanted = false; // turned on while the engine was looked for
    QRandomGenerator *m_random = nullptr;
    std::function<QDateTime()> m_now;
    LayoutSwitcher m_switcher;
    ProfileStore *m_store = nullptr;
    SessionEngine *m_engine = nullptr;
    ProgressTransfer *m_transfer = nullptr;
    QTimer m_warningTimer;

    Tab m_tab = Tab::Course;
    Lesson m_activeLesson;
    std::optional<ExerciseResult> m_lastResult;
    bool m_manuscriptMode = false;
    bool m_physicalKeysOffered = false;
    bool m_russianLayoutMissing = false;
    QStringList m_drillKeys;
    DrillKind m_drillKind = DrillKind::Focus;
    // The profile as it was when the drill began, for its outcomes.
    ProfileData m_beforeDrill;
};
