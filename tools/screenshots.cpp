// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Takes the screenshots the store metadata shows (data/screenshots): the real
// olvi on a private X server of the window's default size, in the light
// scheme, for a learner with two weeks of practice behind them.
//
//   build/tools/olvi_screenshots data/screenshots
#include "olvi_session.h"
#include "profile_json.h"

#include <QDir>
#include <QCoreApplication>
#include <QImage>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

// Lessons 1–8 done, lesson 9 half-way, a day of practice most days of the
// last two weeks getting faster, and the home row's keys surer than the rest.
ProfileData practisedLearner()
{
    ProfileData p;
    p.appearance = Appearance::light;
    p.currentLessonID = 9;
    for (qint64 lesson = 1; lesson <= 8; ++lesson)
        p.exercisesPassed.insert(lesson, 3 + lesson % 3);
    p.exercisesPassed.insert(9, 1);
    const QDate today = QDate::currentDate();
    for (int back = 13; back >= 0; --back) {
        if (back % 5 == 3)
            continue; // a day off now and then
        const double speed = 92 + 4.5 * (13 - back) + (back % 3) * 3;
        p.days.append({dayKeyForDate(today.addDays(-back)), 900 + 40 * (13 - back), 19 - back / 2,
                       330 + 12.0 * (back % 4), speed});
    }
    const QString keys = u"фываолджэпрмитьеншгукцйя"_s;
    for (int i = 0; i < keys.size(); ++i) {
        KeyStat &k = p.keyStats[keys.mid(i, 1)];
        k.attempts = 400 - 12 * i;
        k.errors = i < 8 ? 4 + i % 3 : 10 + (i * 7) % 23;
        k.errEMA = double(k.errors) / double(k.attempts);
        k.latencyEMA = 0.25 + 0.01 * i;
    }
    p.manuscript = u"Съешь же ещё этих мягких французских булок, да выпей чаю. "
                   u"В чащах юга жил бы цитрус? Да, но фальшивый экземпляр!"_s;
    return p;
}

// The screen once nothing on it has moved for a moment (fades and the chart's
// first paint done).
QImage still(const Desk &desk)
{
    QImage last = desk.grab();
    OlviSession::waitFor(
        [&] {
            QImage now;
            OlviSession::waitFor([] { return false; }, 250);
            now = desk.grab();
            const bool same = now == last;
            last = now;
            return same;
        },
        10000);
    return last;
}

bool save(const Desk &desk, const QString &folder, const QString &name)
{
    const QString path = QDir(folder).filePath(name);
    if (!still(desk).save(path, "PNG", 9)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 2 || !QDir().mkpath(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "usage: olvi_screenshots <folder>\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    OlviSession s;
    if (!s.start()) {
        std::fprintf(stderr, "no X server: %s\n", qPrintable(s.error()));
        return 1;
    }
    s.writeProfile(ProfileJson::encode(practisedLearner()));
    if (!s.launchAndWait() || !OlviSession::waitFor([&s] { return s.courseShown(); }, 10000))
        return 1;
    bool ok = save(*s.desk, folder, u"course.png"_s);

    // The manuscript's first fragment, a line typed with one mistake on the way.
    s.user->pressChord("Control_L", "3");
    if (!OlviSession::waitFor([&s] { return s.summaryShown(); }, 10000))
        return 1;
    s.user->click(s.accentControl().center());
    if (!OlviSession::waitFor([&s] { return s.trainingShown(); }, 10000))
        return 1;
    s.user->lockGroup(OlviSession::russianGroup);
    // At a learner's pace (about 200 characters a minute), so the speed shows.
    const auto type = [&s](const QString &text) {
        for (const QString &ch : text.split(QString(), Qt::SkipEmptyParts)) {
            if (!s.user->type(ch))
                return false;
            OlviSession::waitFor([] { return false; }, 300);
        }
        return true;
    };
    ok = type(u"Съешь же ещё э"_s) && type(u"а"_s) && type(u"тих мяг"_s) && ok;
    ok = save(*s.desk, folder, u"training.png"_s) && ok;

    s.user->pressChord("Control_L", "4");
    if (!OlviSession::waitFor([&s] { return s.progressShown(); }, 10000))
        return 1;
    ok = save(*s.desk, folder, u"progress.png"_s) && ok;
    return s.closeAndWait() == 0 && ok ? 0 : 1;
}
