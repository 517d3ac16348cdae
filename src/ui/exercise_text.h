// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app_view_model.h"
#include "next_key.h"
#include "text_line_item.h"

#include <QList>
#include <QObject>
#include <QQmlEngine>
#include <QStringList>

class AppState;

// A line of the exercise text: characters [start, end).
struct LineRange
{
    int start = 0;
    int end = 0;
    friend bool operator==(const LineRange &, const LineRange &) = default;
};

// The upper part of the training screen: the caption, the three visible
// lines of the text with the caret's line styled, the next key and the
// wrong-layout warning. Each property changes only when its value does, so a
// keystroke restyles the caret's line and nothing else.
class ExerciseText : public AppViewModel
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString caption READ caption NOTIFY captionChanged)
    Q_PROPERTY(QString text0 READ text0 NOTIFY text0Changed)
    Q_PROPERTY(QString text1 READ text1 NOTIFY text1Changed)
    Q_PROPERTY(QString text2 READ text2 NOTIFY text2Changed)
    // The caret's line; the lines below it are all coming.
    Q_PROPERTY(LineStyles styles0 READ styles0 NOTIFY styles0Changed)
    Q_PROPERTY(NextKey nextKey READ nextKey NOTIFY nextKeyChanged)
    // The last wrong key struck, for the keyboard to flash.
    Q_PROPERTY(KeyStrike strike READ strike NOTIFY strikeChanged)
    Q_PROPERTY(bool wrongLayoutWarning READ wrongLayoutWarning NOTIFY wrongLayoutWarningChanged)
    // The warning's words: whether the layout is being switched back or the
    // learner must do it (or type by the keys' places).
    Q_PROPERTY(QString layoutWarningText READ layoutWarningText NOTIFY layoutWarningTextChanged)
    // The warning offers typing by the keys' places.
    Q_PROPERTY(bool physicalKeysOffered READ physicalKeysOffered NOTIFY physicalKeysOfferedChanged)

public:
    // A line breaks after its last space once it reaches this many characters.
    static constexpr int lineWidth = 44;
    static constexpr int visibleLineCount = 3;

    explicit ExerciseText(QObject *parent = nullptr);

    [[nodiscard]] QString caption() const { return m_caption; }
    [[nodiscard]] QString text0() const { return m_lineText[0]; }
    [[nodiscard]] QString text1() const { return m_lineText[1]; }
    [[nodiscard]] QString text2() const { return m_lineText[2]; }
    [[nodiscard]] LineStyles styles0() const { return m_styles0; }
    [[nodiscard]] NextKey nextKey() const { return m_nextKey; }
    [[nodiscard]] KeyStrike strike() const { return m_strike; }
    [[nodiscard]] bool wrongLayoutWarning() const;
    [[nodiscard]] bool physicalKeysOffered() const;
    [[nodiscard]] QString layoutWarningText() const;

    // The caption of the exercise `app` types; `fragments` is how many
    // fragments its manuscript has (looked at in manuscript mode only).
    [[nodiscard]] static QString captionOf(const AppState &app, qint64 fragments);
    [[nodiscard]] static QString layoutWarningFor(bool physicalKeysOffered,
                                                  bool russianLayoutMissing);

    // Greedy wrap of a character sequence into lines of about `width`.
    [[nodiscard]] static QList<LineRange> wrap(const QStringList &text, int width = lineWidth);
    // The line holding `position` (the last line past the end) and the ones
    // after it, `count` at most.
    [[nodiscard]] static QList<LineRange> visibleFrom(const QList<LineRange> &lines, int position,
                                                      int count = visibleLineCount);

Q_SIGNALS:
    void captionChanged();
    void text0Changed();
    void text1Changed();
    void text2Changed();
    void styles0Changed();
    void nextKeyChanged();
    void strikeChanged();
    void wrongLayoutWarningChanged();
    void layoutWarningTextChanged();
    void physicalKeysOfferedChanged();

private:
    QList<QMetaObject::Connection> follow(AppState &app) override;
    void refresh() override;
    void onTextChanged();
    void refreshLines();
    void refreshCaption();
    void setLineText(int n, const QString &text);
    [[nodiscard]] CharStyle styleAt(int index) const;

    QList<LineRange> m_lines;
    int m_firstVisibleStart = -1;
    bool m_linesStale = true;
    QString m_countedManuscript;
    qint64 m_fragmentCount = 0;
    QString m_caption;
    QString m_lineText[visibleLineCount];
    LineStyles m_styles0;
    NextKey m_nextKey;
    KeyStrike m_strike;
};
