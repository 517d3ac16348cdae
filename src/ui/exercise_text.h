// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app_view_model.h"
#include "frame_pacer.h"
#include "next_key.h"
#include "text_line_item.h"

#include <QAbstractListModel>
#include <QList>
#include <QPointer>
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

// The lines of the exercise shown, the caret's first: each row a line's text
// ("line") and its characters' styles ("charStyles"; the lines below the
// caret's are all coming, so they have none). A row announces only the role
// that changed.
class ExerciseLineModel : public QAbstractListModel
{
    Q_OBJECT

public:
    enum Role { LineRole = Qt::UserRole, StylesRole };
    static constexpr int count = 3;

    using QAbstractListModel::QAbstractListModel;

    [[nodiscard]] int rowCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : count;
    }
    [[nodiscard]] QVariant data(const QModelIndex &index, int role) const override;
    [[nodiscard]] QHash<int, QByteArray> roleNames() const override;

    [[nodiscard]] const QString &text(int row) const { return m_text[row]; }
    [[nodiscard]] const LineStyles &styles(int row) const { return m_styles[row]; }
    // Whether the row changed.
    bool setText(int row, const QString &text);
    bool setStyles(int row, const LineStyles &styles);

private:
    QString m_text[count];
    LineStyles m_styles[count];
};

// The upper part of the training screen: the caption, the three visible
// lines of the text with the caret's line styled, the next key and the
// wrong-layout warning. Each property changes only when its value does, so a
// keystroke restyles the caret's line and nothing else; with a pacer, the
// next key and the strike of a wrong key change one frame after the line.
class ExerciseText : public AppViewModel
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString caption READ caption NOTIFY captionChanged)
    // The lines shown, as ExerciseLineModel.
    Q_PROPERTY(QAbstractListModel *lines READ lines CONSTANT)
    // The widest a line may be, in characters: it breaks after its last space
    // once it reaches lineWidth, so a space may stand one past it.
    Q_PROPERTY(int widestLine READ widestLine CONSTANT)
    Q_PROPERTY(NextKey nextKey READ nextKey NOTIFY nextKeyChanged)
    // The last wrong key struck, for the keyboard to flash.
    Q_PROPERTY(KeyStrike strike READ strike NOTIFY strikeChanged)
    Q_PROPERTY(bool wrongLayoutWarning READ wrongLayoutWarning NOTIFY wrongLayoutWarningChanged)
    // The warning's words: whether the layout is being switched back or the
    // learner must do it (or type by the keys' places).
    Q_PROPERTY(QString layoutWarningText READ layoutWarningText NOTIFY layoutWarningTextChanged)
    // The warning offers typing by the keys' places.
    Q_PROPERTY(bool physicalKeysOffered READ physicalKeysOffered NOTIFY physicalKeysOfferedChanged)
    Q_PROPERTY(FramePacer *pacer READ pacer WRITE setPacer NOTIFY pacerChanged)

public:
    // A line breaks after its last space once it reaches this many characters.
    static constexpr int lineWidth = 44;
    static constexpr int visibleLineCount = ExerciseLineModel::count;

    explicit ExerciseText(QObject *parent = nullptr);

    [[nodiscard]] QString caption() const { return m_caption; }
    [[nodiscard]] ExerciseLineModel *lines() { return &m_lines; }
    [[nodiscard]] const ExerciseLineModel &lineModel() const { return m_lines; }
    [[nodiscard]] static int widestLine() { return lineWidth + 1; }
    [[nodiscard]] NextKey nextKey() const { return m_nextKey; }
    [[nodiscard]] KeyStrike strike() const { return m_strike; }
    [[nodiscard]] bool wrongLayoutWarning() const;
    [[nodiscard]] bool physicalKeysOffered() const;
    [[nodiscard]] QString layoutWarningText() const;
    [[nodiscard]] FramePacer *pacer() const { return m_pacer; }
    void setPacer(FramePacer *pacer);

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
    void nextKeyChanged();
    void strikeChanged();
    void wrongLayoutWarningChanged();
    void layoutWarningTextChanged();
    void physicalKeysOfferedChanged();
    void pacerChanged();

private:
    QList<QMetaObject::Connection> follow(AppState &app) override;
    void refresh() override;
    void onTextChanged();
    void refreshLines();
    void refreshCaption();
    // The next key and the last strike: at once, or with a pacer after the
    // frame that shows the line.
    void later();
    void refreshKeys();
    [[nodiscard]] CharStyle styleAt(int index) const;

    QList<LineRange> m_wrapped;
    int m_firstVisibleStart = -1;
    bool m_linesStale = true;
    QString m_countedManuscript;
    qint64 m_fragmentCount = 0;
    QString m_caption;
    ExerciseLineModel m_lines;
    NextKey m_nextKey;
    KeyStrike m_strike;
    KeyStrike m_struck; // the newest strike, shown by refreshKeys()
    QPointer<FramePacer> m_pacer;
    bool m_lineChanged = false;
};
