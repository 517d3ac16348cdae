// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "canberra_alert_sound.h"

#include <QApplication>

#include <canberra.h>

CanberraAlertSound::CanberraAlertSound()
{
    if (ca_context_create(&m_context) != CA_SUCCESS)
        m_context = nullptr;
    else
        ca_context_change_props(m_context, CA_PROP_APPLICATION_NAME, "Олви", nullptr);
}

CanberraAlertSound::~CanberraAlertSound()
{
    if (m_context)
        ca_context_destroy(m_context);
}

void CanberraAlertSound::prepare()
{
    if (m_context && !m_opened) {
        m_opened = ca_context_open(m_context) == CA_SUCCESS;
        if (!m_opened) {
            ca_context_destroy(m_context);
            m_context = nullptr;
        }
    }
}

void CanberraAlertSound::beep()
{
    prepare();
    if (m_context
        && ca_context_play(m_context, 0, CA_PROP_EVENT_ID, "bell", CA_PROP_EVENT_DESCRIPTION,
                           "Wrong key", nullptr)
               == CA_SUCCESS) {
        return;
    }
    QApplication::beep();
}
