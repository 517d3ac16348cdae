// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The application's own types, made known to QML under their C++ names.

#include "app_state.h"
#include "key_capture.h"
#include "profile_store.h"
#include "progress_transfer.h"
#include "session_engine.h"

#include <QQmlEngine>

struct AppStateForeign
{
    Q_GADGET
    QML_FOREIGN(AppState)
    QML_NAMED_ELEMENT(AppState)
    QML_UNCREATABLE("The application creates its one AppState.")
};

struct SessionEngineForeign
{
    Q_GADGET
    QML_FOREIGN(SessionEngine)
    QML_NAMED_ELEMENT(SessionEngine)
    QML_UNCREATABLE("AppState owns the engine.")
};

struct ProfileStoreForeign
{
    Q_GADGET
    QML_FOREIGN(ProfileStore)
    QML_NAMED_ELEMENT(ProfileStore)
    QML_UNCREATABLE("AppState owns the store.")
};

struct ProgressTransferForeign
{
    Q_GADGET
    QML_FOREIGN(ProgressTransfer)
    QML_NAMED_ELEMENT(ProgressTransfer)
    QML_UNCREATABLE("AppState owns the transfer.")
};

struct ExerciseResultForeign
{
    Q_GADGET
    QML_FOREIGN(ExerciseResult)
    QML_VALUE_TYPE(exerciseResult)
};

struct KeyCaptureForeign
{
    Q_GADGET
    QML_FOREIGN(KeyCapture)
    QML_NAMED_ELEMENT(KeyCapture)
};
