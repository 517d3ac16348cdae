// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "text_line_item.h"

#include "characters.h"
#include "theme.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QTextLine>
#include <QtMath>

TextLineItem::TextLineItem(QQuickItem *parent) : QQuickPaintedItem(parent)
{
    setAntialiasing(true);
    connect(Theme::instance(), &Theme::paletteChanged, this, [this] { repaintAll(); });
}

void TextLineItem::setText(const QString &text)
{
    if (m_text == text)
        return;
    m_text = text;
    relayout();
    Q_EMIT textChanged();
}

void TextLineItem::setStyles(const LineStyles &styles)
{
    if (m_styles == styles)
        return;
    // Only the characters whose style changed are painted again: a keystroke
    // changes two (the one typed and the caret's next), and painting those
    // instead of the whole line shortens the keystroke's own frame.
    int first = characterCount();
    int last = -1;
    for (int i = 0; i < characterCount(); ++i) {
        if (styleIn(styles, i) != styleAt(i)) {
            first = std::min(first, i);
            last = i;
        }
    }
    m_styles = styles;
    if (last >= 0)
        update(changedArea(first, last));
    Q_EMIT stylesChanged();
}

QRect TextLineItem::changedArea(int first, int last) const
{
    // A little either side for the antialiased edges of the caret and of
    // glyphs that reach past their cell.
    const qreal margin = 3;
    const qreal from = first == 0 ? 0 : m_lefts.at(first) - margin;
    const qreal to = last + 1 == characterCount() ? width() : m_lefts.at(last + 1) + margin;
    return QRectF(from, 0, to - from, height()).toAlignedRect();
}

void TextLineItem::setFont(const QFont &font)
{
    if (m_font == font)
        return;
    m_font = font;
    relayout();
    Q_EMIT fontChanged();
}

CharStyle TextLineItem::styleIn(const LineStyles &styles, int i)
{
    return i < styles.styles.size() ? styles.styles.at(i) : CharStyle::coming;
}

void TextLineItem::relayout()
{
    m_offsets.clear();
    int offset = 0;
    for (const QString &ch : Characters::split(m_text)) {
        m_offsets.append(offset);
        offset += int(ch.size());
    }
    m_offsets.append(offset);

    m_layout.setText(m_text);
    m_layout.setFont(m_font);
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    m_layout.setTextOption(option);
    m_layout.beginLayout();
    QTextLine line = m_layout.createLine();
    if (line.isValid())
        line.setLineWidth(1e6);
    m_layout.endLayout();
    // Each character's glyphs, taken once: a keystroke then draws only the
    // few characters it changed instead of the whole line clipped.
    m_glyphs.clear();
    m_lefts.clear();
    for (int i = 0; line.isValid() && i < m_offsets.size(); ++i) {
        m_lefts.append(line.cursorToX(m_offsets.at(i)));
        if (i + 1 < m_offsets.size())
            m_glyphs.append(line.glyphRuns(m_offsets.at(i), m_offsets.at(i + 1) - m_offsets.at(i)));
    }

    const QFontMetricsF metrics(m_font);
    // A line ends in a space the caret can stand on, so its width counts it.
    const qreal width = line.isValid()
        ? std::max(line.naturalTextWidth(), line.cursorToX(int(m_text.size())))
        : 0;
    setImplicitSize(width, metrics.height());
    repaintAll();
}

void TextLineItem::repaintAll()
{
    // A whole rectangle, never the null one that also means "everything":
    // Qt would let a partial repaint that follows in the same frame replace
    // the null one, and the rest of a new picture would stay blank.
    update(QRect(0, 0, qCeil(width()), qCeil(height())));
}

void TextLineItem::geometryChange(const QRectF &newGeometry, const QRectF &oldGeometry)
{
    QQuickPaintedItem::geometryChange(newGeometry, oldGeometry);
    if (newGeometry.size() != oldGeometry.size())
        repaintAll(); // a new picture of the new size
}

void TextLineItem::itemChange(ItemChange change, const ItemChangeData &value)
{
    QQuickPaintedItem::itemChange(change, value);
    if (change == ItemDevicePixelRatioHasChanged)
        repaintAll();
}

QRectF TextLineItem::characterRect(int i) const
{
    if (i < 0 || i + 1 >= m_lefts.size())
        return {};
    return QRectF(m_lefts.at(i), 0, m_lefts.at(i + 1) - m_lefts.at(i), height());
}

void TextLineItem::paint(QPainter *painter)
{
    if (m_lefts.size() < 2) // nothing laid out
        return;
    const ThemePalette &palette = Theme::instance()->palette();
    const int count = int(m_lefts.size()) - 1;
    const QTextLine line = m_layout.lineAt(0);
    const qreal height = boundingRect().height();
    const auto left = [this](int i) { return m_lefts.at(i); };

    if (const qsizetype caret = m_styles.styles.indexOf(CharStyle::caret);
        caret >= 0 && caret < count) {
        const int i = int(caret);
        painter->setPen(Qt::NoPen);
        painter->setBrush(palette.accent);
        painter->drawRoundedRect(QRectF(left(i), 0, left(i + 1) - left(i), height), 3, 3);
    }

    // Only the characters in what is being painted again are drawn, each
    // in its style's colour.
    const QRectF area = painter->hasClipping() ? painter->clipBoundingRect() : boundingRect();
    for (int i = 0; i < count; ++i) {
        if (left(i + 1) < area.left() || left(i) > area.right())
            continue;
        QColor color;
        switch (styleAt(i)) {
        case CharStyle::typed: color = palette.ink; break;
        case CharStyle::mistyped: color = palette.error; break;
        case CharStyle::caret: color = palette.onAccent; break;
        case CharStyle::coming: color = palette.ghost; break;
        }
        painter->setPen(color);
        for (const QGlyphRun &glyphs : m_glyphs.at(i))
            painter->drawGlyphRun(QPointF(0, 0), glyphs);
    }

    // Mistyped characters are underlined.
    const QFontMetricsF metrics(m_font);
    const qreal y = line.ascent() + metrics.underlinePos();
    painter->setPen(QPen(palette.error, metrics.lineWidth()));
    for (int i = 0; i < count; ++i) {
        if (styleAt(i) == CharStyle::mistyped)
            painter->drawLine(QPointF(left(i), y), QPointF(left(i + 1), y));
    }
}
