// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QGlyphRun>
#include <QList>
#include <QQmlEngine>
#include <QQuickPaintedItem>
#include <QTextLayout>

// How one character of an exercise line is drawn.
enum class CharStyle : quint8 {
    typed,    // ink
    mistyped, // error, underlined: typed, but wrong at first
    caret,    // onAccent on its own accent background
    coming,   // ghost
};

// The style of each character of a line, in order. Characters past the end
// of the list are coming.
class LineStyles
{
    Q_GADGET
    QML_VALUE_TYPE(lineStyles)

public:
    QList<CharStyle> styles;

    friend bool operator==(const LineStyles &, const LineStyles &) = default;
};

// One line of exercise text, painted from its text and its characters'
// styles. Its glyphs are shaped once per text; new styles only recolour
// them, which keeps the key-to-screen path short. The caret is painted as its
// character's background from the same glyph positions, so it cannot drift.
class TextLineItem : public QQuickPaintedItem
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString text READ text WRITE setText NOTIFY textChanged)
    Q_PROPERTY(LineStyles styles READ styles WRITE setStyles NOTIFY stylesChanged)
    Q_PROPERTY(QFont font READ font WRITE setFont NOTIFY fontChanged)

public:
    explicit TextLineItem(QQuickItem *parent = nullptr);

    [[nodiscard]] QString text() const { return m_text; }
    void setText(const QString &text);
    [[nodiscard]] LineStyles styles() const { return m_styles; }
    void setStyles(const LineStyles &styles);
    [[nodiscard]] QFont font() const { return m_font; }
    void setFont(const QFont &font);

    // Characters (user-perceived) in the text, and where the i-th is painted.
    [[nodiscard]] int characterCount() const { return std::max(int(m_offsets.size()) - 1, 0); }
    [[nodiscard]] QRectF characterRect(int i) const;

    void paint(QPainter *painter) override;

protected:
    void geometryChange(const QRectF &newGeometry, const QRectF &oldGeometry) override;
    void itemChange(ItemChange change, const ItemChangeData &value) override;

Q_SIGNALS:
    void textChanged();
    void stylesChanged();
    void fontChanged();

private:
    void relayout();
    void repaintAll();
    [[nodiscard]] static CharStyle styleIn(const LineStyles &styles, int i);
    [[nodiscard]] CharStyle styleAt(int i) const { return styleIn(m_styles, i); }
    // Where the characters first to last are painted, in whole pixels.
    [[nodiscard]] QRect changedArea(int first, int last) const;

    QString m_text;
    LineStyles m_styles;
    QFont m_font;
    QList<int> m_offsets; // UTF-16 start of each character, and the end
    QTextLayout m_layout;
    QList<QList<QGlyphRun>> m_glyphs; // each character's, as laid out
    QList<qreal> m_lefts;             // where each character starts, and the end
};
