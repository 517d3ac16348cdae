// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "training_view_model.h"

#include <QFont>
#include <QPointer>
#include <QQuickPaintedItem>
#include <QTextLayout>


// One line of the exercise text. Its glyphs are shaped once per line; a
// keystroke only recolours them, which keeps the key-to-screen path short.
class TextLineItem : public QQuickPaintedItem
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(TrainingViewModel *lines READ lines WRITE setLines NOTIFY linesChanged)
    Q_PROPERTY(int line READ line WRITE setLine NOTIFY lineChanged)
    Q_PROPERTY(QFont font READ font WRITE setFont NOTIFY fontChanged)
    Q_PROPERTY(QString text READ text NOTIFY textChanged)

public:
    explicit TextLineItem(QQuickItem *parent = nullptr);

    // Where the lines and their styles come from.
    [[nodiscard]] TrainingViewModel *lines() const { return m_model; }
    void setLines(TrainingViewModel *model);
    [[nodiscard]] int line() const { return m_line; }
    void setLine(int line);
    [[nodiscard]] QFont font() const { return m_font; }
    void setFont(const QFont &font);
    [[nodiscard]] QString text() const { return m_text; }

    void paint(QPainter *painter) override;

Q_SIGNALS:
    void linesChanged();
    void lineChanged();
    void fontChanged();
    void textChanged();

private:
    void reconnect();
    void relayout();

    QPointer<TrainingViewModel> m_model;
    QList<QMetaObject::Connection> m_connections;
    int m_line = 0;
    QFont m_font;
    QString m_text;
    QList<int> m_offsets; // UTF-16 start of each character, and the end
    QTextLayout m_layout;
    bool m_laidOut = false;
};
