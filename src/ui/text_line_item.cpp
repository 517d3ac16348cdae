// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "text_line_item.h"

#include "characters.h"
#include "theme.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QTextLine>

TextLineItem::TextLineItem(QQuickItem *parent) : QQuickPaintedItem(parent)
{
    setAntialiasing(true);
    connect(Theme::instance(), &Theme::paletteChanged, this, [this] { update(); });
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
    m_styles = styles;
    update();
    Q_EMIT stylesChanged();
}

void TextLineItem::setFont(const QFont &font)
{
    if (m_font == font)
        return;
    m_font = font;
    relayout();
    Q_EMIT fontChanged();
}

CharStyle TextLineItem::styleAt(int i) const
{
    return i < m_styles.styles.size() ? m_styles.styles.at(i) : CharStyle::coming;
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

    const QFontMetricsF metrics(m_font);
    // A line ends in a space the caret can stand on, so its width counts it.
    const qreal width = line.isValid()
        ? std::max(line.naturalTextWidth(), line.cursorToX(int(m_text.size())))
        : 0;
    setImplicitSize(width, metrics.height());
    update();
}

QRectF TextLineItem::characterRect(int i) const
{
    if (i < 0 || i >= characterCount() || m_layout.lineCount() == 0)
        return {};
    const QTextLine line = m_layout.lineAt(0);
    const qreal left = line.cursorToX(m_offsets.at(i));
    return QRectF(left, 0, line.cursorToX(m_offsets.at(i + 1)) - left, height());
}

void TextLineItem::paint(QPainter *painter)
{
    if (m_text.isEmpty())
        return;
    const ThemePalette &palette = Theme::instance()->palette();
    const int count = int(m_offsets.size()) - 1;
    const QTextLine line = m_layout.lineAt(0);
    const qreal height = boundingRect().height();
    const auto left = [&](int i) { return line.cursorToX(m_offsets.at(i)); };

    if (const qsizetype caret = m_styles.styles.indexOf(CharStyle::caret);
        caret >= 0 && caret < count) {
        const int i = int(caret);
        painter->setPen(Qt::NoPen);
        painter->setBrush(palette.accent);
        painter->drawRoundedRect(QRectF(left(i), 0, left(i + 1) - left(i), height), 3, 3);
    }

    // Each run of equally styled characters is the whole line drawn in the
    // run's colour and clipped to the run: the glyphs are never shaped again.
    for (int i = 0; i < count;) {
        int j = i + 1;
        while (j < count && styleAt(j) == styleAt(i))
            ++j;
        QColor color;
        switch (styleAt(i)) {
        case CharStyle::typed: color = palette.ink; break;
        case CharStyle::mistyped: color = palette.error; break;
        case CharStyle::caret: color = palette.onAccent; break;
        case CharStyle::coming: color = palette.ghost; break;
        }
        const qreal from = i == 0 ? 0 : left(i);
        const qreal to = j == count ? width() : left(j);
        painter->save();
        painter->setClipRect(QRectF(from, 0, to - from, height));
        painter->setPen(color);
        m_layout.draw(painter, QPointF(0, 0));
        painter->restore();
        i = j;
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
