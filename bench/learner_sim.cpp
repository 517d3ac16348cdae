// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Simulated learners taken through the whole course by the real AppState
// (private data folder, a clock stepped by the learner's keystrokes, seeded
// randomness), once with the course alone and once with one drill after
// every fourth course exercise. Each learner has a hidden error rate per key
// that falls with that key's practice; a wrong key is followed by further
// tries until the right one, as the engine requires. Prints, per learner:
// the focus keys' share of letters in drills against their share in the
// course exercises just before; how many exercises it takes each key's true
// error rate to fall below 5 %; the keys still above 10 % when the course
// ends; and the events of ъ, ф and э recorded by then.
#include "app_state.h"
#include "characters.h"
#include "course.h"
#include "russian_layout.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHash>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

// A kind of learner: the error rate of an easy key at first, the rate
// practice brings every key down to, how many strokes of a key take its
// excess over that floor down to a third (1/e), and the time per stroke.
struct Kind
{
    const char *name;
    double firstError;
    double floor;
    double practiceScale;
    double secondsPerKey;
};

const Kind kinds[] = {
    {"fast", 0.06, 0.005, 250.0, 0.18},
    {"average", 0.10, 0.01, 400.0, 0.28},
    {"struggling", 0.16, 0.02, 700.0, 0.42},
};

// The course's end: the last letter, capital and mark lesson completed.
constexpr qint64 lastLesson = 27;
// A learner who has not got there by then is reported as stuck.
constexpr int maxExercises = 3000;
constexpr int drillEvery = 4;
// Lower-case letters the course teaches, in its order.
const QStringList letters = Course::unlockedLetters(lastLesson);

// How much harder than an index finger's home key a character is for
// everyone: the finger, the row, the reach, and Shift. The learner's own
// ease with each key then varies around this.
double difficulty(const QString &ch)
{
    const QString lower = Characters::lower(ch);
    if (lower == u" ")
        return 0.3;
    const std::optional<KeyDef> key = RussianLayout::key(lower);
    double d = 1.6; // a mark the letter rows do not hold
    if (key) {
        const double finger[] = {1.8, 1.4, 1.15, 1.0}; // pinky … index
        d = finger[int(key->finger)];
        for (int row = 0; row < 3; ++row) {
            if (row != 1 && RussianLayout::rows().at(row).contains(*key))
                d *= 1.25;
        }
        // the index fingers' inner columns and the pinkies' far keys
        if (QStringLiteral("пренгтьъхэё").contains(lower))
            d *= 1.3;
    }
    if (RussianLayout::needsShift(ch))
        d *= 1.3;
    return d;
}

class Learner
{
public:
    Learner(const Kind &kind, quint32 seed) : m_kind(kind), m_rng(seed)
    {
        // each learner finds some keys easier and some harder than most do
        for (const QString &letter : letters)
            m_ease.insert(letter, 0.7 + 0.7 * m_rng.generateDouble());
    }

    // The chance that the next stroke of `ch` is wrong.
    [[nodiscard]] double errorRate(const QString &ch) const
    {
        return m_kind.floor + excess(ch) * std::exp(-m_practice.value(Characters::lower(ch))
                                                    / m_kind.practiceScale);
    }

    // How many strokes of `key` it takes, from the first, to bring its error
    // rate down to `rate`; and how many it has had.
    [[nodiscard]] double strokesFor(const QString &key, double rate) const
    {
        return m_kind.practiceScale * std::log(excess(key) / (rate - m_kind.floor));
    }
    [[nodiscard]] double strokes(const QString &key) const { return m_practice.value(key); }

    // Types the exercise on screen to its end; every wrong key is tried again.
    void type(AppState &app, double &clock)
    {
        SessionEngine &engine = *app.engine();
        while (!engine.finished() && !engine.expected().isEmpty()) {
            const QString ch = engine.expected();
            const double p = errorRate(ch);
            clock += m_kind.secondsPerKey * std::sqrt(difficulty(ch)) * (1.0 + 2.0 * p);
            m_practice[Characters::lower(ch)] += 1.0;
            if (m_rng.generateDouble() < p)
                app.handleKey(Characters::lower(ch) == u"ы" ? QStringLiteral("в") : QStringLiteral("ы"));
            else
                app.handleKey(ch);
        }
    }

private:
    [[nodiscard]] double excess(const QString &ch) const
    {
        const double ease = m_ease.value(Characters::lower(ch), 1.0);
        return std::max(0.0, std::min(0.6, m_kind.firstError * difficulty(ch) * ease) - m_kind.floor);
    }

    Kind m_kind;
    QRandomGenerator m_rng;
    QHash<QString, double> m_ease;
    QHash<QString, double> m_practice;
};

// The share of `key` among the letters of the texts.
double share(const QList<QStringList> &texts, const QString &key)
{
    qint64 all = 0;
    qint64 hits = 0;
    for (const QStringList &text : texts) {
        for (const QString &ch : text) {
            const QString lower = Characters::lower(ch);
            all += letters.contains(lower) ? 1 : 0;
            hits += lower == key ? 1 : 0;
        }
    }
    return all > 0 ? double(hits) / double(all) : 0.0;
}

double median(QList<double> values)
{
    if (values.isEmpty())
        return 0.0;
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

struct Run
{
    bool finished = false;
    int courseExercises = 0;
    int drills = 0;
    // Per drill and focus key: the key's share of the drill's letters, and of
    // the letters of the course exercises before it.
    QList<double> drillShares;
    QList<double> courseShares;
    QHash<QString, int> below5; // exercises (drills included) until the true rate < 5 %
    QStringList above10; // with the strokes it had and the strokes it needed
    QHash<QString, qint64> events;
    double seconds = 0.0;
};

Run runCourse(const Kind &kind, quint32 seed, bool withDrills)
{
    QTemporaryDir folder;
    double clock = 1000.0;
    const QDateTime start(QDate(2026, 12, 7), QTime(9, 0));
    QRandomGenerator appRandom(seed * 7 + 1);
    AppServices services;
    services.dataFolder = folder.path();
    services.clock = [&clock] { return clock; };
    services.random = &appRandom;
    services.now = [&] { return start.addMSecs(qint64((clock - 1000.0) * 1000.0)); };
    AppState app(services);
    Learner learner(kind, seed);

    Run run;
    QList<QStringList> lastCourseTexts;
    int exercises = 0;
    const auto noteProgress = [&] {
        ++exercises;
        for (const QString &letter : letters) {
            if (!run.below5.contains(letter) && learner.errorRate(letter) < 0.05)
                run.below5.insert(letter, exercises);
        }
    };

    app.startTraining();
    while (app.store()->data().currentLessonID <= lastLesson && exercises < maxExercises) {
        const QStringList text = app.engine()->text();
        learner.type(app, clock);
        noteProgress();
        ++run.courseExercises;
        lastCourseTexts.append(text);
        if (lastCourseTexts.size() > drillEvery)
            lastCourseTexts.removeFirst();
        if (withDrills && run.courseExercises % drillEvery == 0) {
            app.startDrill();
            for (const QString &key : app.drillKeys()) {
                run.drillShares.append(share({app.engine()->text()}, key));
                run.courseShares.append(share(lastCourseTexts, key));
            }
            learner.type(app, clock);
            noteProgress();
            ++run.drills;
            app.startTraining();
        } else {
            app.nextExercise();
        }
    }
    run.finished = app.store()->data().currentLessonID > lastLesson;
    for (const QString &letter : letters) {
        if (learner.errorRate(letter) > 0.10)
            run.above10.append(QStringLiteral("%1 (%2 of %3 strokes)")
                                   .arg(letter)
                                   .arg(learner.strokes(letter))
                                   .arg(std::ceil(learner.strokesFor(letter, 0.10))));
        run.events.insert(letter, app.store()->data().keyStats.value(letter).attempts);
    }
    run.seconds = clock - 1000.0;
    return run;
}

QString below5Text(const Run &run, const QString &letter)
{
    return run.below5.contains(letter) ? QString::number(run.below5.value(letter))
                                       : QStringLiteral("never");
}

void report(const Kind &kind, const Run &plain, const Run &drilled)
{
    std::printf("\n== %s learner\n", kind.name);
    for (const auto &[label, run] : {std::pair{"course alone", &plain}, {"with drills", &drilled}}) {
        std::printf("%-13s %s after %d course exercises and %d drills (%.1f h typing)\n", label,
                    run->finished ? "course done" : "STUCK", run->courseExercises, run->drills,
                    run->seconds / 3600.0);
    }
    QList<double> ratios;
    QList<double> courseSharesBelowFive;
    int atFive = 0;
    for (qsizetype i = 0; i < drilled.drillShares.size(); ++i) {
        const double d = drilled.drillShares.at(i);
        const double c = drilled.courseShares.at(i);
        ratios.append(c > 0.0 ? d / c : INFINITY);
        atFive += d >= 5.0 * c ? 1 : 0;
        if (d < 5.0 * c)
            courseSharesBelowFive.append(c);
    }
    std::printf("a focus key's share of letters, median over %lld (drill, key) pairs: %.1f %% in "
                "the drill, %.1f %% in the four course exercises before it; median ratio %.1f x, "
                "%d of the pairs (%.0f %%) at 5 x or more\n",
                qlonglong(ratios.size()), 100.0 * median(drilled.drillShares),
                100.0 * median(drilled.courseShares), median(ratios), atFive,
                ratios.isEmpty() ? 0.0 : 100.0 * atFive / double(ratios.size()));
    std::printf("  the pairs below 5 x: median share in the course %.1f %%\n",
                100.0 * median(courseSharesBelowFive));

    int sumPlain = 0;
    int sumDrilled = 0;
    int both = 0;
    QStringList never[2];
    for (const QString &letter : letters) {
        if (plain.below5.contains(letter) && drilled.below5.contains(letter)) {
            sumPlain += plain.below5.value(letter);
            sumDrilled += drilled.below5.value(letter);
            ++both;
        }
        if (!plain.below5.contains(letter))
            never[0] << letter;
        if (!drilled.below5.contains(letter))
            never[1] << letter;
    }
    std::printf("exercises typed (drills included) until a key's true error rate < 5 %%:\n");
    std::printf("  mean over the %d keys that get there both ways: %.1f alone, %.1f with drills\n",
                both, both ? double(sumPlain) / both : 0.0, both ? double(sumDrilled) / both : 0.0);
    std::printf("  never before the course ends: alone [%s], with drills [%s]\n",
                qPrintable(never[0].join(u' ')), qPrintable(never[1].join(u' ')));
    std::printf("  rare keys (alone / with drills):");
    for (const QString &letter : QStringList{u"ъ"_s, u"щ"_s, u"э"_s, u"ф"_s, u"ю"_s, u"ё"_s, u"ц"_s, u"х"_s, u"ж"_s})
        std::printf(" %s %s/%s", qPrintable(letter), qPrintable(below5Text(plain, letter)),
                    qPrintable(below5Text(drilled, letter)));
    std::printf("\nkeys above 10 %% at the end, with the strokes they had and needed:\n"
                "  alone: %s\n  with drills: %s\n",
                qPrintable(plain.above10.join(u", ")), qPrintable(drilled.above10.join(u", ")));
    std::printf("events by the end (alone / with drills): ъ %lld/%lld, ф %lld/%lld, э %lld/%lld\n",
                plain.events.value(u"ъ"_s), drilled.events.value(u"ъ"_s), plain.events.value(u"ф"_s),
                drilled.events.value(u"ф"_s), plain.events.value(u"э"_s), drilled.events.value(u"э"_s));
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    QElapsedTimer timer;
    timer.start();
    quint32 seed = 20261207;
    for (const Kind &kind : kinds) {
        const Run plain = runCourse(kind, seed, false);
        const Run drilled = runCourse(kind, seed, true);
        report(kind, plain, drilled);
        ++seed;
    }
    std::printf("\nwall time %.1f s\n", double(timer.elapsed()) / 1000.0);
    return 0;
}
