// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Saves two large profiles in turn through ProfileStore until it is killed,
// printing the number of each finished save. The crash-safety test starts it
// and kills it at arbitrary moments.
#include "large_profile.h"
#include "profile_store.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2)
        return 2;
    ProfileStore store(QString::fromLocal8Bit(argv[1]));
    const ProfileData profiles[2] = {largeProfile(0), largeProfile(1)};
    for (long long n = 0;; ++n) {
        store.update([&](ProfileData &p) { p = profiles[n % 2]; });
        store.save();
        std::printf("%lld\n", n);
        std::fflush(stdout);
    }
}
