// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "text_line_item.h"

#include "characters.h"
#include "theme.h"
#include "training_view_model.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QTextLine>

TextLineItem::TextLineItem(QQuickItem *parent) : QQuickPaintedItem(parent)
{
    setAntialiasing(true);
    connect(Theme::instance(), &Theme::paletteChanged, this, [this] { update(); });
}

void TextLineItem::setLines(TrainingViewModel *model)
{
    if (m_model == model)
        return;
    m_model = model;
    reconnect();
    Q_EMIT linesChanged();
}

void TextLineItem::setLine(int line)
{
    if (m_line == line)
        return;
    m_line = line;
    reconnect();
    Q_EMIT lineChanged();
}

void TextLineItem::reconnect()
{
    for (const auto &c : std::as_const(m_connections))
        disconnect(c);
    m_connections.clear();
    if (m_model) {
        const auto textChanged = m_line <= 0 ? &TrainingViewModel::line0Changed
                                 : m_line == 1 ? &TrainingViewModel::line1Changed
                                               : &TrainingViewModel::line2Changed;
        m_connections = {
            connect(m_model, textChanged, this, &TextLineItem::relayout),
            // A key restyles only the caret's line; the lines below are all "coming".
            connect(m_model, &TrainingViewModel::stylesChanged, this, [this] {
                if (m_line == 0)
                    update();
            }),
        };
    }
    m_laidOut = false;
    relayout();
}

void TextLineItem::setFont(const QFont &font)
{
    if (m_font == font)
        return;
    m_font = font;
    m_laidOut = false;
    relayout();
    Q_EMIT fontChanged();
}

void TextLineItem::relayout()
{
    QString text;
    if (m_model) {
        const QString lines[] = {m_model->line0(), m_model->line1(), m_model->line2()};
        if (m_line >= 0 && m_line < 3)
            text = lines[m_line];
    }
    if (m_laidOut && text == m_text)
        return;
    m_laidOut = true;
    m_text = text;
    m_offsets.clear();
    int offset = 0;
    for (const QString &ch : Characters::split(text)) {
        m_offsets.append(offset);
        offset += int(ch.size());
    }
    m_offsets.append(offset);

    m_layout.setText(text);
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
        ? std::max(line.naturalTextWidth(), line.cursorToX(int(text.size())))
        : 0;
    setImplicitSize(width, metrics.height());
    Q_EMIT textChanged();
    update();
}

void TextLineItem::paint(QPainter *painter)
{
    if (!m_model || m_text.isEmpty())
        return;
    const ThemePalette &palette = Theme::instance()->palette();
    const QList<CharStyle> styles = m_model->lineStyles(m_line);
    const int count = std::min(int(styles.size()), int(m_offsets.size()) - 1);

    const QTextLine line = m_layout.lineAt(0);
    const qreal height = boundingRect().height();
    const auto left = [&](int i) { return line.cursorToX(m_offsets.at(i)); };

    // The caret is its character's own background, placed from the same
    // glyph positions as the text, so it cannot drift off its character.
    if (const qsizetype caret = styles.indexOf(CharStyle::caret); caret >= 0 && caret < count) {
        const int i = int(caret);
        painter->setPen(Qt::NoPen);
        painter->setBrush(palette.accent);
        painter->drawRoundedRect(QRectF(left(i), 0, left(i + 1) - left(i), height), 3, 3);
    }

    // Each run of equally styled characters is the whole line drawn in the
    // run's colour and clipped to the run: the glyphs are never shaped again.
    for (int i = 0; i < count;) {
        int j = i + 1;
        while (j < count && styles.at(j) == styles.at(i))
            ++j;
        QColor color;
        switch (styles.at(i)) {
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
        if (styles.at(i) == CharStyle::mistyped)
            painter->drawLine(QPointF(left(i), y), QPointF(left(i + 1), y));
    }
}
