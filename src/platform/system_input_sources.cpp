// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "system_input_sources.h"

#include "null_input_source_provider.h"
#include "plasma_input_source_provider.h"
#include "xkb_input_source_provider.h"

std::unique_ptr<InputSourceProvider> systemInputSources(const QDBusConnection &bus,
                                                        QStringView platformName)
{
    if (PlasmaInputSourceProvider::isAvailable(bus))
        return std::make_unique<PlasmaInputSourceProvider>(bus);
    if (platformName == u"xcb") {
        auto xkb = std::make_unique<XkbInputSourceProvider>();
        if (xkb->isConnected())
            return xkb;
    }
    return std::make_unique<NullInputSourceProvider>();
}
