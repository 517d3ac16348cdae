// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "training_view_model.h"

#include "app_state.h"
#include "characters.h"
#include "course.h"
#include "manuscript.h"
#include "russian_layout.h"
#include "theme.h"

#include <cmath>

TrainingViewModel::TrainingViewModel(QObject *parent) : QObject(parent)
{
    connect(Theme::instance(), &Theme::paletteChanged, this, &TrainingViewModel::stylesChanged);
}

void TrainingViewModel::setApp(AppState *app)
{
    if (m_app == app)
        return;
    for (const auto &c : std::as_const(m_connections))
        disconnect(c);
    m_connections.clear();
    m_app = app;
    if (m_app) {
        SessionEngine *engine = m_app->engine();
        m_connections = {
            connect(engine, &SessionEngine::textChanged, this, &TrainingViewModel::onTextChanged),
            connect(engine, &SessionEngine::positionChanged, this,
                    &TrainingViewModel::refreshLines),
            connect(engine, &SessionEngine::errorPositionsChanged, this,
                    &TrainingViewModel::refreshLines),
            connect(engine, &SessionEngine::statisticsChanged, this,
                    &TrainingViewModel::refreshFigures),
            connect(engine, &SessionEngine::wrongLayoutWarningChanged, this,
                    &TrainingViewModel::wrongLayoutWarningChanged),
            connect(m_app, &AppState::manuscriptModeChanged, this,
                    &TrainingViewModel::refreshCaption),
            connect(m_app, &AppState::activeLessonChanged, this,
                    &TrainingViewModel::refreshCaption),
            connect(m_app, &AppState::activeLessonChanged, this,
                    &TrainingViewModel::onProfileChanged),
            connect(m_app, &AppState::profileChanged, this, &TrainingViewModel::onProfileChanged),
            connect(m_app, &AppState::lastResultChanged, this,
                    &TrainingViewModel::onResultChanged),
        };
    }
    Q_EMIT appChanged();
    onTextChanged();
    onProfileChanged();
    onResultChanged();
    Q_EMIT wrongLayoutWarningChanged();
}

void TrainingViewModel::onTextChanged()
{
    m_lines = m_app ? wrap(m_app->engine()->text()) : QList<LineRange>{};
    m_linesStale = true;
    refreshCaption();
    refreshLines();
    refreshFigures();
}

QList<LineRange> TrainingViewModel::wrap(const QStringList &text, int width)
{
    QList<LineRange> lines;
    const int length = int(text.size());
    int start = 0;
    int lastSpace = 0;
    bool noSpace = true;
    int i = 0;
    while (i < length) {
        if (text.at(i) == u" ") {
            noSpace = false;
            lastSpace = i;
        }
        if (i - start >= width) {
            const int end = noSpace ? i : lastSpace + 1;
            if (start < end) {
                lines.append({start, end});
                start = end;
                i = end;
                noSpace = true;
                lastSpace = 0;
                continue;
            }
        }
        ++i;
    }
    if (start < length)
        lines.append({start, length});
    return lines;
}

QList<LineRange> TrainingViewModel::visibleFrom(const QList<LineRange> &lines, int position,
                                                int count)
{
    if (lines.isEmpty())
        return {};
    // Lines are sorted: the first whose end lies beyond the position holds it.
    auto it = std::upper_bound(lines.cbegin(), lines.cend(), position,
                               [](int pos, const LineRange &l) { return pos < l.end; });
    qsizetype first = it == lines.cend() ? lines.size() - 1 : it - lines.cbegin();
    return lines.mid(first, count);
}

QList<LineRange> TrainingViewModel::visibleLines() const
{
    return m_app ? visibleFrom(m_lines, m_app->engine()->position()) : QList<LineRange>{};
}

QList<CharStyle> TrainingViewModel::lineStyles(int n) const
{
    const QList<LineRange> visible = visibleLines();
    QList<CharStyle> styles;
    if (n < 0 || n >= visible.size())
        return styles;
    styles.reserve(visible.at(n).end - visible.at(n).start);
    for (int i = visible.at(n).start; i < visible.at(n).end; ++i)
        styles.append(styleAt(i));
    return styles;
}

CharStyle TrainingViewModel::styleAt(int index) const
{
    const SessionEngine *engine = m_app->engine();
    const int position = engine->position();
    if (index > position)
        return CharStyle::coming;
    if (index == position)
        return CharStyle::caret;
    return engine->errorPositions().contains(index) ? CharStyle::mistyped : CharStyle::typed;
}

void TrainingViewModel::refreshLines()
{
    const QList<LineRange> visible = visibleLines();
    // The lines' texts change only when the view scrolls or the text changes;
    // a keystroke only restyles characters of the first line.
    const int first = visible.isEmpty() ? -1 : visible.first().start;
    if (first != m_firstVisibleStart || m_linesStale) {
        m_firstVisibleStart = first;
        m_linesStale = false;
        const QStringList &text = m_app ? m_app->engine()->text() : QStringList();
        for (int n = 0; n < visibleLineCount; ++n) {
            QString line;
            if (n < visible.size()) {
                for (int i = visible.at(n).start; i < visible.at(n).end; ++i)
                    line += text.at(i);
            }
            if (line != m_lineText[n]) {
                m_lineText[n] = line;
                emitLineChanged(n);
            }
        }
    }
    Q_EMIT stylesChanged();

    QString expected;
    if (m_app && !visible.isEmpty())
        expected = m_app->engine()->expected();
    if (expected != m_expected) {
        m_expected = expected;
        Q_EMIT expectedChanged();
    }
    Q_EMIT progressChanged();
}

void TrainingViewModel::emitLineChanged(int n)
{
    switch (n) {
    case 0: Q_EMIT line0Changed(); break;
    case 1: Q_EMIT line1Changed(); break;
    case 2: Q_EMIT line2Changed(); break;
    }
}

void TrainingViewModel::refreshCaption()
{
    QString caption;
    if (m_app && m_app->manuscriptMode()) {
        const ProfileData &data = m_app->store()->data();
        const qint64 k = std::max<qint64>(data.manuscriptChunk.value_or(0), 0);
        const QString text = data.manuscript.value_or(QString());
        // Cutting a long text takes milliseconds; the text rarely changes.
        if (text.constData() != m_countedManuscript.constData() || text != m_countedManuscript) {
            m_countedManuscript = text;
            m_fragmentCount = Manuscript::chunks(text).size();
        }
        const qint64 count = m_fragmentCount;
        caption = QStringLiteral("Своя рукопись · фрагмент %1 из %2")
                      .arg(k + 1)
                      .arg(std::max(count, k + 1));
    } else if (m_app) {
        const Lesson &lesson = m_app->activeLesson();
        caption = QStringLiteral("Урок %1 · %2 · %3")
                      .arg(lesson.id)
                      .arg(Course::stages().at(lesson.stageIndex).title, lesson.title);
    }
    if (caption != m_caption) {
        m_caption = caption;
        Q_EMIT lessonCaptionChanged();
    }
}

QString TrainingViewModel::fingerHintFor(const QString &expected)
{
    if (expected.isEmpty())
        return QStringLiteral(" ");
    if (expected == u" ")
        return QStringLiteral("пробел — большим пальцем");
    const auto key = RussianLayout::key(expected);
    if (!key)
        return QStringLiteral("наберите: ") + expected;
    QString hint = Characters::upper(key->character) + QStringLiteral(" — ") + key->fingerHint();
    if (RussianLayout::needsShift(expected))
        hint += QStringLiteral(", шифт другой рукой");
    return hint;
}

qint64 TrainingViewModel::roundHalfAway(double value)
{
    return qint64(std::round(value));
}

QString TrainingViewModel::percentText(double fraction)
{
    return QString::asprintf("%.1f", fraction * 100.0).replace(u'.', u',')
           + QStringLiteral(" %");
}

void TrainingViewModel::refreshFigures()
{
    QString speed = QStringLiteral("0");
    QString accuracy = percentText(1.0);
    if (m_app) {
        const SessionEngine *e = m_app->engine();
        if (e->activeSeconds() > 1.0)
            speed = QString::number(roundHalfAway(e->position() / e->activeSeconds() * 60.0));
        const qint64 total = qint64(e->position()) + e->errorCount();
        if (total >= 1)
            accuracy = percentText(double(e->position()) / double(total));
    }
    if (speed != m_speedText || accuracy != m_accuracyText) {
        m_speedText = speed;
        m_accuracyText = accuracy;
        Q_EMIT figuresChanged();
    }
}

bool TrainingViewModel::wrongLayoutWarning() const
{
    return m_app && m_app->engine()->wrongLayoutWarning();
}

double TrainingViewModel::progress() const
{
    return m_app ? m_app->engine()->progress() : 0.0;
}

QString TrainingViewModel::progressText() const
{
    return QStringLiteral("урок на %1 %").arg(roundHalfAway(progress() * 100.0));
}

bool TrainingViewModel::soundOn() const
{
    return m_soundOn;
}

qint64 TrainingViewModel::lessonPasses() const
{
    return m_app ? m_app->store()->data().exercisesPassed.value(m_app->activeLesson().id, 0) : 0;
}

void TrainingViewModel::onProfileChanged()
{
    const bool sound = !m_app || m_app->store()->data().soundOn;
    if (sound != m_soundOn) {
        m_soundOn = sound;
        Q_EMIT soundOnChanged();
    }
    const qint64 passes = lessonPasses();
    if (passes != m_lessonPasses) {
        m_lessonPasses = passes;
        Q_EMIT resultChanged();
    }
    refreshCaption();
}

void TrainingViewModel::onResultChanged()
{
    // The card speaks of the lesson the course moved on to.
    if (m_app && m_app->lastResult() && m_app->lastResult()->lessonCompleted)
        m_app->setActiveLesson(Course::lesson(m_app->store()->data().currentLessonID));
    m_lessonPasses = lessonPasses();
    Q_EMIT resultChanged();
}

bool TrainingViewModel::resultShown() const
{
    return m_app && m_app->lastResult().has_value();
}

QString TrainingViewModel::resultTitle() const
{
    if (!resultShown())
        return {};
    const ExerciseResult &r = *m_app->lastResult();
    if (r.lessonCompleted)
        return QStringLiteral("Урок пройден!");
    return r.passed ? QStringLiteral("Упражнение зачтено") : QStringLiteral("Почти получилось");
}

QString TrainingViewModel::resultSpeed() const
{
    return resultShown() ? QString::number(roundHalfAway(m_app->lastResult()->speed)) : QString();
}

QString TrainingViewModel::resultAccuracy() const
{
    return resultShown() ? percentText(m_app->lastResult()->accuracy) : QString();
}

QString TrainingViewModel::resultLessonCount() const
{
    return QStringLiteral("%1 из 3").arg(m_lessonPasses);
}

bool TrainingViewModel::reminderShown() const
{
    return resultShown() && !m_app->lastResult()->passed;
}

QString TrainingViewModel::reminder()
{
    return QStringLiteral("Для зачёта нужна точность не ниже ") + percentText(AppState::passAccuracy)
           + QStringLiteral(". Скорость придёт сама — сначала точность.");
}

QString TrainingViewModel::primaryButtonText() const
{
    if (resultShown() && m_app->lastResult()->lessonCompleted)
        return QStringLiteral("К следующему уроку");
    return QStringLiteral("Дальше (⏎)");
}

void TrainingViewModel::toggleSound()
{
    if (!m_app)
        return;
    m_app->store()->update([](ProfileData &d) { d.soundOn = !d.soundOn; });
    m_app->store()->save();
}

void TrainingViewModel::nextExercise()
{
    if (m_app)
        m_app->nextExercise();
}

void TrainingViewModel::showCourse()
{
    if (m_app)
        m_app->setTab(AppState::Tab::Course);
}
