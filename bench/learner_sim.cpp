// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Simulated learners taken through the whole course by the real AppState
// (a data folder on tmpfs, a clock stepped by the learner's keystrokes,
// seeded randomness), ten seeds for each kind of learner and each of two
// models of learning, once with the course alone and once with drills: one
// after every fourth course exercise, and every drill the application offers
// taken as a learner who accepts them would. Each learner has a hidden error
// rate per key that falls with that key's practice; a wrong key is followed
// by further tries until the right one, as the engine requires. The learner
// practises in daily sessions of twenty minutes.
//
// Prints, per kind and model, the mean and the range over the seeds of: the
// hours of typing to the end of the course; the letters and the marks whose
// true error rate is still above 10 % then; the events of ъ, ф and э; how
// often a drill holds the heat map's hottest letter; and, for the average
// learner, how many exercises after a frequent key suddenly gets worse (к to
// 18 %) a drill first holds it.
#include "app_state.h"
#include "characters.h"
#include "course.h"
#include "drill.h"
#include "profile_statistics.h"
#include "russian_layout.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QHash>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <numeric>

using namespace Qt::StringLiterals;

namespace {

// Prints every drill: the lesson, why it came (f every fourth exercise, c
// the result card's offer, n the course screen's), its keys and its text.
bool trace = false;

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

// How the excess error of a key falls with practice.
enum class Model {
    // By a factor e every practiceScale strokes, and nothing is forgotten.
    practice,
    // As a power of the strokes (the same third after practiceScale strokes,
    // then ever more slowly), and each day a key is not struck takes 3 % of
    // its practice away.
    powerWithForgetting,
};

const char *modelName(Model m)
{
    return m == Model::practice ? "exponential" : "power law, forgetting";
}

constexpr int seeds = 10;
// The course's end: the last letter, capital and mark lesson completed.
constexpr qint64 lastLesson = 27;
// A learner who has not got there by then is reported as stuck.
constexpr int maxExercises = 3000;
constexpr int drillEvery = 4;
// Active typing per day: the ten minutes the course screen recommends.
constexpr double sessionSeconds = 10 * 60;
// Lower-case letters the course teaches, in its order, and its marks.
const QStringList letters = Course::unlockedLetters(lastLesson);
const QStringList marks = [] {
    QStringList all;
    for (const Lesson &l : Course::lessons()) {
        for (const QString &m : l.marks) {
            if (!all.contains(m))
                all << m;
        }
    }
    return all;
}();

// The finger and row of a letter key ("ё" the left pinky's, "," the full
// stop's); none for a mark beyond the letter rows. The model keeps this
// view of the keyboard whatever the application draws.
std::optional<std::pair<Finger, int>> place(const QString &lower)
{
    if (lower == u"ё")
        return std::pair(Finger::pinky, -1);
    const QString key = lower == u"," ? u"."_s : lower;
    for (int row = 0; row < 3; ++row) {
        for (const KeyDef &k : RussianLayout::rows().at(row)) {
            if (k.character == key)
                return std::pair(k.finger, row);
        }
    }
    return std::nullopt;
}

// How much harder than an index finger's home key a character is for
// everyone: the finger, the row, the reach, and Shift. The learner's own
// ease with each key then varies around this.
double difficulty(const QString &ch)
{
    const QString lower = Characters::lower(ch);
    if (lower == u" ")
        return 0.3;
    double d = 1.6; // a mark the letter rows do not hold
    if (const auto p = place(lower)) {
        const double finger[] = {1.8, 1.4, 1.15, 1.0}; // pinky … index
        d = finger[int(p->first)];
        if (p->second == 0 || p->second == 2)
            d *= 1.25;
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
    Learner(const Kind &kind, Model model, quint32 seed) : m_kind(kind), m_model(model), m_rng(seed)
    {
        // each learner finds some keys easier and some harder than most do
        for (const QString &letter : letters)
            m_ease.insert(letter, 0.7 + 0.7 * m_rng.generateDouble());
    }

    // The chance that the next stroke of `ch` is wrong.
    [[nodiscard]] double errorRate(const QString &ch) const
    {
        const QString lower = Characters::lower(ch);
        const double n = m_practice.value(lower);
        const double left = m_model == Model::practice
                                ? std::exp(-n / m_kind.practiceScale)
                                : std::pow(1.0 + n / (1.055 * m_kind.practiceScale), -1.5);
        const double bump = m_bump.value(lower) * std::exp(-m_sinceBump.value(lower)
                                                           / m_kind.practiceScale);
        return std::min(0.9, m_kind.floor + excess(ch) * left + bump);
    }

    // How many strokes of `key` it has had, and how many it needs, from the
    // first, for its error rate to fall to `rate` (regressions aside).
    [[nodiscard]] double strokes(const QString &key) const { return m_practice.value(key); }
    [[nodiscard]] double drillStrokes(const QString &key) const { return m_inDrills.value(key); }
    [[nodiscard]] double strokesFor(const QString &key, double rate) const
    {
        const double ratio = excess(key) / (rate - m_kind.floor);
        if (ratio <= 1.0)
            return 0.0;
        return m_model == Model::practice
                   ? m_kind.practiceScale * std::log(ratio)
                   : 1.055 * m_kind.practiceScale * (std::pow(ratio, 2.0 / 3.0) - 1.0);
    }

    // From now on `key` goes wrong `rate` of the time, until practice mends it.
    void regress(const QString &key, double rate)
    {
        m_bump[key] = std::max(0.0, rate - errorRate(key));
        m_sinceBump[key] = 0.0;
    }

    // A new day: keys not struck the day before lose some practice.
    void nextDay()
    {
        if (m_model == Model::powerWithForgetting) {
            for (auto it = m_practice.begin(); it != m_practice.end(); ++it) {
                if (!m_struckToday.contains(it.key()))
                    *it *= 0.97;
            }
        }
        m_struckToday.clear();
    }

    // Types the exercise on screen to its end; every wrong key is tried again.
    void type(AppState &app, double &clock, bool drill = false)
    {
        SessionEngine &engine = *app.engine();
        while (!engine.finished() && !engine.expected().isEmpty()) {
            const QString ch = engine.expected();
            const QString lower = Characters::lower(ch);
            const double p = errorRate(ch);
            clock += m_kind.secondsPerKey * std::sqrt(difficulty(ch)) * (1.0 + 2.0 * p);
            m_practice[lower] += 1.0;
            m_inDrills[lower] += drill ? 1.0 : 0.0;
            m_sinceBump[lower] += 1.0;
            m_struckToday.insert(lower);
            if (m_rng.generateDouble() < p)
                app.handleKey(lower == u"ы" ? QStringLiteral("в") : QStringLiteral("ы"));
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
    Model m_model;
    QRandomGenerator m_rng;
    QHash<QString, double> m_ease;
    QHash<QString, double> m_practice;
    QHash<QString, double> m_inDrills; // of m_practice, the strokes typed in drills
    QHash<QString, double> m_bump;
    QHash<QString, double> m_sinceBump;
    QSet<QString> m_struckToday;
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

// A data folder off the disk's sync path: the learners save after every
// exercise, and a synced write to a real disk costs more than the exercise.
QString scratchBase()
{
    for (const QString &dir : {u"/dev/shm"_s, qEnvironmentVariable("XDG_RUNTIME_DIR")}) {
        if (!dir.isEmpty() && QFileInfo(dir).isDir() && QFileInfo(dir).isWritable())
            return dir;
    }
    return QDir::tempPath();
}

struct Run
{
    bool finished = false;
    int courseExercises = 0;
    int drills = 0;
    int offeredDrills = 0;
    double hours = 0.0;
    QStringList lettersAbove10;
    QStringList marksAbove10;
    QStringList capitalsAbove10;
    // Per key still above 10 % at the end: the strokes it had and needed.
    QMap<QString, std::pair<double, double>> shortfall;
    // Per key: the strokes it had in drills, and the drills that held it.
    QMap<QString, double> drillStrokes;
    QMap<QString, double> finalRate;
    QMap<QString, int> drillsHolding;
    double drillHours = 0.0;
    QMap<qint64, int> exercisesPerLesson;
    QHash<QString, qint64> events;
    int drillsWithHottest = 0;
    int drillsWithAMap = 0;
    double focusChars = 0.0, drillChars = 0.0; // of the drills' characters but spaces, those of a focus key
    QList<double> shareRatios; // per (drill, focus letter): its share in the drill / in the course before
    // With a regression: exercises from it until a drill first holds the key; 0 for never.
    int regressionDrilledAfter = 0;
};

// What the regression scenario does to the learner.
struct Regression
{
    QString key;
    double rate = 0.0;
    qint64 fromLesson = 0;
};

Run runCourse(const Kind &kind, Model model, quint32 seed, bool withDrills,
              std::optional<Regression> regression = std::nullopt)
{
    QTemporaryDir folder(scratchBase() + u"/olvi-learner-XXXXXX"_s);
    double clock = 1000.0;
    double sessionStart = clock;
    int day = 0;
    const QDateTime start(QDate(2026, 12, 7), QTime(9, 0));
    QRandomGenerator appRandom(seed * 7 + 1);
    AppServices services;
    services.dataFolder = folder.path();
    services.clock = [&clock] { return clock; };
    services.random = &appRandom;
    services.now = [&] {
        return start.addDays(day).addMSecs(qint64((clock - sessionStart) * 1000.0));
    };
    AppState app(services);
    Learner learner(kind, model, seed);

    Run run;
    QList<QStringList> lastCourseTexts;
    int exercises = 0;
    int regressedAt = -1;

    // Starts a drill by `start`, and types it.
    const auto drill = [&](const std::function<void()> &start, QChar why = u'f') {
        start();
        const QMap<QString, double> levels = ProfileStatistics::keyErrorLevels(app.store()->data());
        QString hottest;
        for (const QString &letter : Drill::drillable(app.store()->data())) {
            if (levels.value(letter) > levels.value(hottest, 0.0))
                hottest = letter;
        }
        if (!hottest.isEmpty()) {
            ++run.drillsWithAMap;
            run.drillsWithHottest += app.drillKeys().contains(hottest) ? 1 : 0;
        }
        for (const QString &ch : app.engine()->text()) {
            if (ch == u" ")
                continue;
            run.drillChars += 1.0;
            const QStringList keys = app.drillKeys();
            run.focusChars += keys.contains(Characters::lower(ch))
                                      || (keys.contains(u"⇧"_s) && RussianLayout::needsShift(ch))
                                  ? 1.0
                                  : 0.0;
        }
        for (const QString &key : app.drillKeys()) {
            const double before = share(lastCourseTexts, key);
            if (letters.contains(key) && before > 0.0)
                run.shareRatios.append(share({app.engine()->text()}, key) / before);
        }
        if (regression && regressedAt >= 0 && run.regressionDrilledAfter == 0
            && app.drillKeys().contains(regression->key))
            run.regressionDrilledAfter = exercises - regressedAt + 1;
        for (const QString &key : app.drillKeys())
            ++run.drillsHolding[key];
        ++run.drillsHolding[u"#"_s + why];
        if (trace)
            std::printf("      L%lld %c %s | %s\n", app.store()->data().currentLessonID, why.toLatin1(),
                        qPrintable(app.drillKeys().join(u' ')),
                        qPrintable(app.engine()->text().join(QString())));
        const double before = clock;
        learner.type(app, clock, true);
        run.drillHours += (clock - before) / 3600.0;
        ++exercises;
        ++run.drills;
    };

    app.startTraining();
    while (app.store()->data().currentLessonID <= lastLesson && exercises < maxExercises) {
        if (regression && regressedAt < 0
            && app.store()->data().currentLessonID >= regression->fromLesson) {
            learner.regress(regression->key, regression->rate);
            regressedAt = exercises;
        }
        const QStringList text = app.engine()->text();
        ++run.exercisesPerLesson[app.activeLesson().id];
        learner.type(app, clock);
        ++exercises;
        ++run.courseExercises;
        lastCourseTexts.append(text);
        if (lastCourseTexts.size() > drillEvery)
            lastCourseTexts.removeFirst();
        bool drilled = false;
        // the result card offers to settle the keys of a lesson just completed
        const ExerciseResult result = *app.lastResult();
        if (withDrills && result.lessonCompleted && !result.consolidate.isEmpty()) {
            drill([&app] { app.consolidate(); }, u'c');
            ++run.offeredDrills;
            drilled = true;
        }
        if (withDrills && run.courseExercises % drillEvery == 0) {
            drill([&app] { app.startDrill(); });
            drilled = true;
        }
        if (clock - sessionStart >= sessionSeconds) {
            ++day;
            learner.nextDay();
            sessionStart = clock;
            // a new day begins on the course screen, whose sidebar may offer a drill
            const QStringList needed = Drill::needed(app.store()->data(), app.today());
            if (withDrills && !needed.isEmpty()) {
                drill([&app, &needed] { app.startDrill(needed); }, u'n');
                ++run.offeredDrills;
                drilled = true;
            }
        }
        // the regression scenario ends soon after the regression
        if (regression && regressedAt >= 0
            && (run.regressionDrilledAfter > 0 || exercises - regressedAt >= 12))
            break;
        if (drilled)
            app.startTraining();
        else
            app.nextExercise();
    }
    run.finished = app.store()->data().currentLessonID > lastLesson;
    for (const QString &letter : letters) {
        if (learner.errorRate(letter) > 0.10) {
            run.lettersAbove10.append(letter);
            run.shortfall.insert(letter, {learner.strokes(letter), learner.strokesFor(letter, 0.10)});
        }
        if (learner.errorRate(Characters::upper(letter)) > 0.10)
            run.capitalsAbove10.append(Characters::upper(letter));
        run.events.insert(letter, app.store()->data().keyStats.value(letter).attempts);
    }
    for (const QString &key : letters + marks) {
        run.drillStrokes.insert(key, learner.drillStrokes(key));
        run.finalRate.insert(key, learner.errorRate(key));
    }
    for (const QString &mark : marks) {
        if (learner.errorRate(mark) > 0.10) {
            run.marksAbove10.append(mark);
            run.shortfall.insert(mark, {learner.strokes(mark), learner.strokesFor(mark, 0.10)});
        }
    }
    run.hours = (clock - 1000.0) / 3600.0;
    return run;
}

// "mean (min–max)" of a figure over the runs.
QString spread(const QList<Run> &runs, const std::function<double(const Run &)> &figure,
               int decimals = 1)
{
    double sum = 0.0;
    double low = INFINITY;
    double high = -INFINITY;
    for (const Run &r : runs) {
        const double v = figure(r);
        sum += v;
        low = std::min(low, v);
        high = std::max(high, v);
    }
    return u"%1 (%2–%3)"_s.arg(sum / double(runs.size()), 0, 'f', decimals)
        .arg(low, 0, 'f', decimals)
        .arg(high, 0, 'f', decimals);
}

// The keys named in the runs, each with the number of runs naming it.
QString tally(const QList<Run> &runs, const std::function<QStringList(const Run &)> &keys)
{
    QMap<QString, int> counts;
    for (const Run &r : runs) {
        for (const QString &k : keys(r))
            ++counts[k];
    }
    QStringList parts;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        parts << u"%1×%2"_s.arg(it.key()).arg(it.value());
    return parts.isEmpty() ? u"none"_s : parts.join(u' ');
}

double median(QList<double> values)
{
    if (values.isEmpty())
        return 0.0;
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

void report(const QList<Run> &runs, const char *label)
{
    const int stuck = int(std::count_if(runs.cbegin(), runs.cend(),
                                        [](const Run &r) { return !r.finished; }));
    std::printf("  %s%s\n", label, stuck ? qPrintable(u" (%1 runs STUCK)"_s.arg(stuck)) : "");
    std::printf("    hours of typing            %s\n",
                qPrintable(spread(runs, [](const Run &r) { return r.hours; }, 2)));
    if (runs.constFirst().drills > 0)
        std::printf("    focus keys' share of the drills' characters %s %%\n",
                    qPrintable(spread(runs, [](const Run &r) {
                        return r.drillChars > 0.0 ? 100.0 * r.focusChars / r.drillChars : 0.0;
                    }, 0)));
    std::printf("    course exercises / drills  %s / %s (offered %s)\n",
                qPrintable(spread(runs, [](const Run &r) { return r.courseExercises; }, 0)),
                qPrintable(spread(runs, [](const Run &r) { return r.drills; }, 0)),
                qPrintable(spread(runs, [](const Run &r) { return r.offeredDrills; }, 0)));
    std::printf("    letters above 10 %%         %s  [%s]\n",
                qPrintable(spread(runs, [](const Run &r) { return r.lettersAbove10.size(); })),
                qPrintable(tally(runs, [](const Run &r) { return r.lettersAbove10; })));
    std::printf("    letters' points above 10 %% %s; the eight worst letters' mean %s %%\n",
                qPrintable(spread(runs, [](const Run &r) {
                    double sum = 0.0;
                    for (const QString &l : letters)
                        sum += std::max(0.0, r.finalRate.value(l) - 0.10);
                    return 100.0 * sum;
                })),
                qPrintable(spread(runs, [](const Run &r) {
                    QList<double> rates;
                    for (const QString &l : letters)
                        rates << r.finalRate.value(l);
                    std::sort(rates.begin(), rates.end(), std::greater<>());
                    return 100.0 * std::accumulate(rates.cbegin(), rates.cbegin() + 8, 0.0) / 8.0;
                })));
    std::printf("    marks above 10 %%           %s  [%s]\n",
                qPrintable(spread(runs, [](const Run &r) { return r.marksAbove10.size(); })),
                qPrintable(tally(runs, [](const Run &r) { return r.marksAbove10; })));
    std::printf("    capitals above 10 %%        %s\n",
                qPrintable(spread(runs, [](const Run &r) { return r.capitalsAbove10.size(); })));
    QMap<QString, std::pair<double, double>> shortfall;
    QMap<QString, int> short_;
    for (const Run &r : runs) {
        for (auto it = r.shortfall.cbegin(); it != r.shortfall.cend(); ++it) {
            shortfall[it.key()].first += it->first;
            shortfall[it.key()].second += it->second;
            ++short_[it.key()];
        }
    }
    QStringList had;
    for (auto it = shortfall.cbegin(); it != shortfall.cend(); ++it)
        had << u"%1 %2/%3"_s.arg(it.key())
                   .arg(it->first / short_[it.key()], 0, 'f', 0)
                   .arg(it->second / short_[it.key()], 0, 'f', 0);
    std::printf("    strokes had/needed (mean of the runs above 10 %%): %s\n",
                had.isEmpty() ? "none" : qPrintable(had.join(u", ")));
    for (const QString &key : {u"ъ"_s, u"ф"_s, u"э"_s})
        std::printf("    events of %s                %s\n", qPrintable(key),
                    qPrintable(spread(runs, [&key](const Run &r) { return r.events.value(key); }, 0)));
    if (runs.first().drills > 0) {
        std::printf("    drills holding the map's hottest letter %s %%\n",
                    qPrintable(spread(runs, [](const Run &r) {
                        return r.drillsWithAMap ? 100.0 * r.drillsWithHottest / r.drillsWithAMap : 0.0;
                    }, 0)));
        QList<double> ratios;
        for (const Run &r : runs)
            ratios << r.shareRatios;
        const double atFive = double(std::count_if(ratios.cbegin(), ratios.cend(),
                                                   [](double x) { return x >= 5.0; }));
        std::printf("    a focus letter's share of a drill against the four course exercises "
                    "before: median %.1f x, %.0f %% of pairs at 5 x or more\n",
                    median(ratios), ratios.isEmpty() ? 0.0 : 100.0 * atFive / double(ratios.size()));
    }
}

// Per seed and per key, where the strokes went: for exploring what the
// drills aim at (--detail).
void details(const QList<Run> &runs)
{
    for (qsizetype i = 0; i < runs.size(); ++i) {
        const Run &r = runs.at(i);
        QStringList above;
        for (auto it = r.shortfall.cbegin(); it != r.shortfall.cend(); ++it)
            above << u"%1 %2+%3/%4"_s.arg(it.key())
                         .arg(it->first - r.drillStrokes.value(it.key()), 0, 'f', 0)
                         .arg(r.drillStrokes.value(it.key()), 0, 'f', 0)
                         .arg(it->second, 0, 'f', 0);
        std::printf("    seed %lld: %.2f h (drills %.2f h), %d + %d drills (%d offered); above 10 %% "
                    "(course+drill/needed): %s\n",
                    qint64(i), r.hours, r.drillHours, r.courseExercises, r.drills, r.offeredDrills,
                    qPrintable(above.join(u", ")));
    }
    std::printf("    per key, mean over the seeds: drills holding it, its strokes in drills, final error %%\n     ");
    for (const QString &key : letters + marks + QStringList{u"#f"_s, u"#c"_s, u"#n"_s}) {
        double held = 0.0, strokes = 0.0, rate = 0.0;
        for (const Run &r : runs) {
            held += r.drillsHolding.value(key);
            strokes += r.drillStrokes.value(key);
            rate += r.finalRate.value(key);
        }
        std::printf(" %s %.0f/%.0f/%.1f", qPrintable(key), held / double(runs.size()),
                    strokes / double(runs.size()), 100.0 * rate / double(runs.size()));
    }
    std::printf("\n    course exercises per lesson, mean:");
    for (qint64 l = 1; l <= lastLesson; ++l) {
        double n = 0.0;
        for (const Run &r : runs)
            n += r.exercisesPerLesson.value(l);
        std::printf(" %lld:%.1f", l, n / double(runs.size()));
    }
    std::printf("\n");
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    // Fewer seeds, kinds or models while exploring; --detail for where the
    // strokes went; --drills-only skips the course alone; --trace prints
    // every drill's keys and text.
    const QStringList args = application.arguments().mid(1);
    const auto option = [&args](const QString &name) {
        for (const QString &a : args) {
            if (a.startsWith(name + u'='))
                return a.mid(name.size() + 1);
        }
        return QString();
    };
    const int seedCount = option(u"--seeds"_s).isEmpty() ? seeds : option(u"--seeds"_s).toInt();
    const QString onlyKind = option(u"--kind"_s);
    const QString onlyModel = option(u"--model"_s);
    const bool detail = args.contains(u"--detail"_s);
    const quint32 firstSeed = quint32(option(u"--first-seed"_s).toInt());
    const bool drillsOnly = args.contains(u"--drills-only"_s);
    trace = args.contains(u"--trace"_s);

    QElapsedTimer timer;
    timer.start();
    std::printf("%d seeds per learner and model; figures are mean (min–max) over the seeds\n",
                seedCount);
    for (const Model model : {Model::practice, Model::powerWithForgetting}) {
        if (!onlyModel.isEmpty() && onlyModel != (model == Model::practice ? u"exp"_s : u"power"_s))
            continue;
        for (const Kind &kind : kinds) {
            if (!onlyKind.isEmpty() && onlyKind != QLatin1StringView(kind.name))
                continue;
            std::printf("\n== %s learner, %s model\n", kind.name, modelName(model));
            QList<Run> alone;
            QList<Run> drilled;
            for (quint32 s = firstSeed; s < firstSeed + quint32(seedCount); ++s) {
                const quint32 seed = 20261207 + 101 * s;
                if (!drillsOnly)
                    alone.append(runCourse(kind, model, seed, false));
                drilled.append(runCourse(kind, model, seed, true));
            }
            if (!drillsOnly)
                report(alone, "course alone");
            report(drilled, "with drills");
            if (detail)
                details(drilled);
            if (QByteArrayView(kind.name) != "average")
                continue;
            // к, a frequent key, from its low rate to 18 % once every letter is taught
            QStringList after;
            int within8 = 0;
            for (quint32 s = firstSeed; s < firstSeed + quint32(seedCount); ++s) {
                const Run r = runCourse(kind, model, 20261207 + 101 * s, true,
                                        Regression{u"к"_s, 0.18, 19});
                after << (r.regressionDrilledAfter > 0 ? QString::number(r.regressionDrilledAfter)
                                                       : u"–"_s);
                within8 += r.regressionDrilledAfter > 0 && r.regressionDrilledAfter <= 8 ? 1 : 0;
            }
            std::printf("  к regressing to 18 %% at lesson 19: first drilled after [%s] exercises "
                        "(– none within 12); within 8 in %d of %d seeds\n",
                        qPrintable(after.join(u' ')), within8, seedCount);
        }
    }
    std::printf("\nwall time %.1f s\n", double(timer.elapsed()) / 1000.0);
    return 0;
}
