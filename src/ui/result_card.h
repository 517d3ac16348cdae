// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app_view_model.h"

#include <QObject>
#include <QQmlEngine>

class AppState;

// The card that replaces the exercise once it is finished: the verdict, the
// three figures, the reminder after a failed exercise and the primary
// button's text; after a completed lesson whose keys are not yet settled, the
// offer of a drill of them. After a drill it is the drill's own: titled for
// it, each key's accuracy against before instead of the lesson's count, and
// "Ещё раз" for a drill of keys chosen afresh.
class ResultCard : public AppViewModel
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(bool shown READ shown NOTIFY resultChanged)
    Q_PROPERTY(QString title READ title NOTIFY resultChanged)
    Q_PROPERTY(QString speed READ speed NOTIFY resultChanged)
    Q_PROPERTY(QString accuracy READ accuracy NOTIFY resultChanged)
    Q_PROPERTY(QString lessonCount READ lessonCount NOTIFY lessonCountChanged)
    Q_PROPERTY(bool lessonCountShown READ lessonCountShown NOTIFY resultChanged)
    // After a drill: one line per key, "Ж — точность 92,0 % (25 нажатий), …".
    Q_PROPERTY(QStringList keyLines READ keyLines NOTIFY resultChanged)
    // "Закрепить: ф, ж"; "" when no drill is offered.
    Q_PROPERTY(QString consolidateText READ consolidateText NOTIFY resultChanged)
    Q_PROPERTY(bool reminderShown READ reminderShown NOTIFY resultChanged)
    Q_PROPERTY(QString reminder READ reminder CONSTANT)
    Q_PROPERTY(QString primaryText READ primaryText NOTIFY resultChanged)
    // The same button as a screen reader names it: the Return glyph is for the eye.
    Q_PROPERTY(QString primaryName READ primaryName NOTIFY resultChanged)

public:
    explicit ResultCard(QObject *parent = nullptr);

    [[nodiscard]] bool shown() const;
    [[nodiscard]] QString title() const;
    [[nodiscard]] QString speed() const;
    [[nodiscard]] QString accuracy() const;
    // Passed exercises of the active lesson: after a lesson is completed, the
    // application has moved on, so this speaks of the next one.
    [[nodiscard]] QString lessonCount() const { return m_lessonCount; }
    [[nodiscard]] bool lessonCountShown() const;
    [[nodiscard]] QStringList keyLines() const;
    [[nodiscard]] QString consolidateText() const;
    [[nodiscard]] bool reminderShown() const;
    [[nodiscard]] static QString reminder();
    [[nodiscard]] QString primaryText() const;
    [[nodiscard]] QString primaryName() const;
    // The card read out: the verdict and the three figures; empty when hidden.
    [[nodiscard]] QString spoken() const;

Q_SIGNALS:
    void resultChanged();
    void lessonCountChanged();

private:
    [[nodiscard]] bool afterDrill() const;
    QList<QMetaObject::Connection> follow(AppState &app) override;
    void refresh() override;
    QString m_lessonCount;
};
