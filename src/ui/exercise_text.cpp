// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "exercise_text.h"

#include "app_state.h"
#include "course.h"
#include "drill_text.h"
#include "manuscript.h"

QVariant ExerciseLineModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    switch (role) {
    case LineRole: return m_text[index.row()];
    case StylesRole: return QVariant::fromValue(m_styles[index.row()]);
    }
    return {};
}

QHash<int, QByteArray> ExerciseLineModel::roleNames() const
{
    return {{LineRole, "line"}, {StylesRole, "charStyles"}};
}

bool ExerciseLineModel::setText(int row, const QString &text)
{
    if (m_text[row] == text)
        return false;
    m_text[row] = text;
    Q_EMIT dataChanged(index(row), index(row), {LineRole});
    return true;
}

bool ExerciseLineModel::setStyles(int row, const LineStyles &styles)
{
    if (m_styles[row] == styles)
        return false;
    m_styles[row] = styles;
    Q_EMIT dataChanged(index(row), index(row), {StylesRole});
    return true;
}

ExerciseText::ExerciseText(QObject *parent) : AppViewModel(parent) {}

QList<QMetaObject::Connection> ExerciseText::follow(AppState &app)
{
    SessionEngine *engine = app.engine();
    return {
        connect(engine, &SessionEngine::textChanged, this, &ExerciseText::onTextChanged),
        connect(engine, &SessionEngine::positionChanged, this, &ExerciseText::refreshLines),
        connect(engine, &SessionEngine::errorPositionsChanged, this, &ExerciseText::refreshLines),
        connect(engine, &SessionEngine::wrongLayoutWarningChanged, this,
                &ExerciseText::wrongLayoutWarningChanged),
        connect(&app, &AppState::physicalKeysOfferedChanged, this,
                &ExerciseText::physicalKeysOfferedChanged),
        connect(&app, &AppState::physicalKeysOfferedChanged, this,
                &ExerciseText::layoutWarningTextChanged),
        connect(&app, &AppState::russianLayoutMissingChanged, this,
                &ExerciseText::layoutWarningTextChanged),
        connect(&app, &AppState::manuscriptModeChanged, this, &ExerciseText::refreshCaption),
        connect(&app, &AppState::activeLessonChanged, this, &ExerciseText::refreshCaption),
        connect(&app, &AppState::drillKeysChanged, this, &ExerciseText::refreshCaption),
        connect(&app, &AppState::wrongKeyStruck, this,
                [this](const QString &typed) {
                    m_struck = KeyStrike{typed, m_struck.serial + 1};
                    later();
                }),
    };
}

void ExerciseText::refresh()
{
    onTextChanged();
    Q_EMIT wrongLayoutWarningChanged();
    Q_EMIT physicalKeysOfferedChanged();
    Q_EMIT layoutWarningTextChanged();
}

void ExerciseText::onTextChanged()
{
    m_wrapped = app() ? wrap(app()->engine()->text()) : QList<LineRange>{};
    m_linesStale = true;
    refreshCaption();
    refreshLines();
}

QList<LineRange> ExerciseText::wrap(const QStringList &text, int width)
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

QList<LineRange> ExerciseText::visibleFrom(const QList<LineRange> &lines, int position, int count)
{
    if (lines.isEmpty())
        return {};
    // Lines are sorted: the first whose end lies beyond the position holds it.
    auto it = std::upper_bound(lines.cbegin(), lines.cend(), position,
                               [](int pos, const LineRange &l) { return pos < l.end; });
    qsizetype first = it == lines.cend() ? lines.size() - 1 : it - lines.cbegin();
    return lines.mid(first, count);
}

CharStyle ExerciseText::styleAt(int index) const
{
    const SessionEngine *engine = app()->engine();
    const int position = engine->position();
    if (index > position)
        return CharStyle::coming;
    if (index == position)
        return CharStyle::caret;
    return engine->errorPositions().contains(index) ? CharStyle::mistyped : CharStyle::typed;
}

void ExerciseText::refreshLines()
{
    const QList<LineRange> visible =
        app() ? visibleFrom(m_wrapped, app()->engine()->position()) : QList<LineRange>{};
    // The lines' texts change only when the view scrolls or the text changes;
    // a keystroke only restyles characters of the first line.
    const int first = visible.isEmpty() ? -1 : visible.first().start;
    if (first != m_firstVisibleStart || m_linesStale) {
        m_firstVisibleStart = first;
        m_linesStale = false;
        const QStringList &text = app() ? app()->engine()->text() : QStringList();
        for (int n = 0; n < visibleLineCount; ++n) {
            QString line;
            if (n < visible.size()) {
                for (int i = visible.at(n).start; i < visible.at(n).end; ++i)
                    line += text.at(i);
            }
            m_lineChanged |= m_lines.setText(n, line);
        }
    }

    LineStyles styles;
    if (!visible.isEmpty()) {
        styles.styles.reserve(visible.first().end - visible.first().start);
        for (int i = visible.first().start; i < visible.first().end; ++i)
            styles.styles.append(styleAt(i));
    }
    m_lineChanged |= m_lines.setStyles(0, styles);

    later();
}

void ExerciseText::setPacer(FramePacer *pacer)
{
    if (pacer == m_pacer)
        return;
    m_pacer = pacer;
    Q_EMIT pacerChanged();
}

void ExerciseText::later()
{
    if (!m_pacer) {
        refreshKeys();
        return;
    }
    if (std::exchange(m_lineChanged, false))
        m_pacer->frameDue();
    m_pacer->later(this, [this] { refreshKeys(); });
}

void ExerciseText::refreshKeys()
{
    const NextKey next = NextKey::of(app() ? app()->engine()->expected() : QString());
    if (next != m_nextKey) {
        m_nextKey = next;
        Q_EMIT nextKeyChanged();
    }
    if (m_struck != m_strike) {
        m_strike = m_struck;
        Q_EMIT strikeChanged();
    }
}

void ExerciseText::refreshCaption()
{
    if (app() && app()->manuscriptMode()) {
        // Cutting a long text takes milliseconds; the text rarely changes.
        const QString text = app()->store()->data().manuscript.value_or(QString());
        if (text.constData() != m_countedManuscript.constData() || text != m_countedManuscript) {
            m_countedManuscript = text;
            m_fragmentCount = Manuscript::chunks(text).size();
        }
    }
    const QString caption = app() ? captionOf(*app(), m_fragmentCount) : QString();
    if (caption != m_caption) {
        m_caption = caption;
        Q_EMIT captionChanged();
    }
}

QString ExerciseText::captionOf(const AppState &app, qint64 fragments)
{
    if (app.drillMode())
        return DrillText::title(app.drillKind(), app.drillKeys());
    if (app.manuscriptMode()) {
        // Within the text, as the fragment typed is: a hand-edited index may be anything.
        const qint64 k = std::clamp<qint64>(app.store()->data().manuscriptChunk.value_or(0), 0,
                                            std::max<qint64>(fragments - 1, 0));
        return QStringLiteral("Своя рукопись · фрагмент %1 из %2")
            .arg(k + 1)
            .arg(std::max(fragments, k + 1));
    }
    const Lesson &lesson = app.activeLesson();
    return QStringLiteral("Урок %1 · %2 · %3")
        .arg(lesson.id)
        .arg(Course::stages().at(lesson.stageIndex).title, lesson.title);
}

bool ExerciseText::wrongLayoutWarning() const
{
    return app() && app()->engine()->wrongLayoutWarning();
}

bool ExerciseText::physicalKeysOffered() const
{
    return app() && app()->physicalKeysOffered();
}

QString ExerciseText::layoutWarningText() const
{
    return layoutWarningFor(physicalKeysOffered(), app() && app()->russianLayoutMissing());
}

QString ExerciseText::layoutWarningFor(bool physicalKeysOffered, bool russianLayoutMissing)
{
    if (!physicalKeysOffered)
        return QStringLiteral("Была латиница — возвращаю русскую раскладку");
    // With no Russian layout to turn on, the only way is the button beside.
    if (russianLayoutMissing)
        return QStringLiteral("Русской раскладки нет — можно печатать по местам клавиш");
    return QStringLiteral("Была латиница — включите русскую раскладку");
}
