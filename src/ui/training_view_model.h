// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app_state.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QQmlEngine>
#include <QSet>
#include <QStringList>

// A line of the exercise text: characters [start, end).
struct LineRange
{
    int start = 0;
    int end = 0;
    friend bool operator==(const LineRange &, const LineRange &) = default;
};

// How one character of the exercise text is drawn.
enum class CharStyle {
    typed,    // ink
    mistyped, // error, underlined: typed, but wrong at first
    caret,    // onAccent on accent
    coming,   // ghost
};

// Everything the training screen shows, computed from the application state:
// the caption, the three visible lines, the hint, the running figures and the
// result card. Each property changes only when its text does, so a keystroke
// redraws only what it touched.
class TrainingViewModel : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(AppState *app READ app WRITE setApp NOTIFY appChanged)
    Q_PROPERTY(QString lessonCaption READ lessonCaption NOTIFY lessonCaptionChanged)
    Q_PROPERTY(QString line0 READ line0 NOTIFY line0Changed)
    Q_PROPERTY(QString line1 READ line1 NOTIFY line1Changed)
    Q_PROPERTY(QString line2 READ line2 NOTIFY line2Changed)
    Q_PROPERTY(QString expected READ expected NOTIFY expectedChanged)
    Q_PROPERTY(QString fingerHint READ fingerHint NOTIFY expectedChanged)
    Q_PROPERTY(bool wrongLayoutWarning READ wrongLayoutWarning NOTIFY wrongLayoutWarningChanged)
    Q_PROPERTY(QString speedText READ speedText NOTIFY figuresChanged)
    Q_PROPERTY(QString accuracyText READ accuracyText NOTIFY figuresChanged)
    Q_PROPERTY(double progress READ progress NOTIFY progressChanged)
    Q_PROPERTY(QString progressText READ progressText NOTIFY progressChanged)
    Q_PROPERTY(bool soundOn READ soundOn NOTIFY soundOnChanged)
    Q_PROPERTY(bool resultShown READ resultShown NOTIFY resultChanged)
    Q_PROPERTY(QString resultTitle READ resultTitle NOTIFY resultChanged)
    Q_PROPERTY(QString resultSpeed READ resultSpeed NOTIFY resultChanged)
    Q_PROPERTY(QString resultAccuracy READ resultAccuracy NOTIFY resultChanged)
    Q_PROPERTY(QString resultLessonCount READ resultLessonCount NOTIFY resultChanged)
    Q_PROPERTY(bool reminderShown READ reminderShown NOTIFY resultChanged)
    Q_PROPERTY(QString reminder READ reminder CONSTANT)
    Q_PROPERTY(QString primaryButtonText READ primaryButtonText NOTIFY resultChanged)

public:
    // A line breaks after its last space once it reaches this many characters.
    static constexpr int lineWidth = 44;
    static constexpr int visibleLineCount = 3;

    explicit TrainingViewModel(QObject *parent = nullptr);

    [[nodiscard]] AppState *app() const { return m_app; }
    void setApp(AppState *app);

    [[nodiscard]] QString lessonCaption() const { return m_caption; }
    // The visible lines' texts; how each character is drawn is styleAt().
    [[nodiscard]] QString line0() const { return m_lineText[0]; }
    [[nodiscard]] QString line1() const { return m_lineText[1]; }
    [[nodiscard]] QString line2() const { return m_lineText[2]; }
    [[nodiscard]] QString expected() const { return m_expected; }
    [[nodiscard]] QString fingerHint() const { return fingerHintFor(m_expected); }
    [[nodiscard]] bool wrongLayoutWarning() const;
    [[nodiscard]] QString speedText() const { return m_speedText; }
    [[nodiscard]] QString accuracyText() const { return m_accuracyText; }
    [[nodiscard]] double progress() const;
    [[nodiscard]] QString progressText() const;
    [[nodiscard]] bool soundOn() const;
    [[nodiscard]] bool resultShown() const;
    [[nodiscard]] QString resultTitle() const;
    [[nodiscard]] QString resultSpeed() const;
    [[nodiscard]] QString resultAccuracy() const;
    [[nodiscard]] QString resultLessonCount() const;
    [[nodiscard]] bool reminderShown() const;
    [[nodiscard]] static QString reminder();
    [[nodiscard]] QString primaryButtonText() const;

    // The visible lines as ranges of the text, and each character's style.
    [[nodiscard]] QList<LineRange> visibleLines() const;
    // The style of each character of visible line `n` (0 = the caret's line).
    [[nodiscard]] QList<CharStyle> lineStyles(int n) const;
    [[nodiscard]] CharStyle styleAt(int index) const;

    Q_INVOKABLE void toggleSound();
    Q_INVOKABLE void nextExercise();
    Q_INVOKABLE void showCourse();

    // Greedy wrap of a character sequence into lines of about `width`.
    [[nodiscard]] static QList<LineRange> wrap(const QStringList &text, int width = lineWidth);
    // The line holding `position` (the last line past the end) and the ones
    // after it, `count` at most.
    [[nodiscard]] static QList<LineRange> visibleFrom(const QList<LineRange> &lines, int position,
                                                      int count = visibleLineCount);
    [[nodiscard]] static QString fingerHintFor(const QString &expected);
    // "96,2 %"
    [[nodiscard]] static QString percentText(double fraction);
    // Half away from zero, as people round.
    [[nodiscard]] static qint64 roundHalfAway(double value);

Q_SIGNALS:
    void appChanged();
    void lessonCaptionChanged();
    void line0Changed();
    void line1Changed();
    void line2Changed();
    // The characters' styles (or the palette they are drawn in) changed.
    void stylesChanged();
    void expectedChanged();
    void wrongLayoutWarningChanged();
    void figuresChanged();
    void progressChanged();
    void soundOnChanged();
    void resultChanged();

private:
    void onTextChanged();
    void refreshLines();
    void emitLineChanged(int n);
    void refreshCaption();
    void refreshFigures();
    void onResultChanged();
    void onProfileChanged();
    [[nodiscard]] qint64 lessonPasses() const;

    QPointer<AppState> m_app;
    QList<QMetaObject::Connection> m_connections;
    QList<LineRange> m_lines;
    int m_firstVisibleStart = -1;
    bool m_linesStale = true;
    QString m_countedManuscript;
    qint64 m_fragmentCount = 0;
    QString m_caption;
    QString m_lineText[visibleLineCount];
    QString m_expected;
    QString m_speedText = QStringLiteral("0");
    QString m_accuracyText = QStringLiteral("100,0 %");
    bool m_soundOn = true;
    qint64 m_lessonPasses = 0;
};
