// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app_view_model.h"
#include "frame_pacer.h"

#include <QPointer>

#include <QObject>
#include <QQmlEngine>

class AppState;

// The training screen's status bar: the running speed, accuracy and progress
// of the exercise, and whether a wrong key sounds.
class ExerciseFigures : public AppViewModel
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString speed READ speed NOTIFY speedChanged)
    Q_PROPERTY(QString accuracy READ accuracy NOTIFY accuracyChanged)
    Q_PROPERTY(double progress READ progress NOTIFY progressChanged)
    Q_PROPERTY(QString progressText READ progressText NOTIFY progressChanged)
    Q_PROPERTY(bool soundOn READ soundOn NOTIFY soundOnChanged)
    // With a pacer the figures change one frame after a keystroke's line.
    Q_PROPERTY(FramePacer *pacer READ pacer WRITE setPacer NOTIFY pacerChanged)

public:
    explicit ExerciseFigures(QObject *parent = nullptr);

    [[nodiscard]] QString speed() const { return m_speed; }
    [[nodiscard]] QString accuracy() const { return m_accuracy; }
    [[nodiscard]] double progress() const { return m_progress; }
    [[nodiscard]] QString progressText() const;
    [[nodiscard]] bool soundOn() const { return m_soundOn; }
    [[nodiscard]] FramePacer *pacer() const { return m_pacer; }
    void setPacer(FramePacer *pacer);

Q_SIGNALS:
    void speedChanged();
    void accuracyChanged();
    void progressChanged();
    void soundOnChanged();
    void pacerChanged();

private:
    QList<QMetaObject::Connection> follow(AppState &app) override;
    void refresh() override;
    void refreshFigures();
    QString m_speed = QStringLiteral("0");
    QString m_accuracy = QStringLiteral("100,0 %");
    double m_progress = 0.0;
    bool m_soundOn = true;
    QPointer<FramePacer> m_pacer;
};
