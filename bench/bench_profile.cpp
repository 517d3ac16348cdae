// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Load and save of a profile of the largest size Olvi produces, in a temporary
// folder. Prints min and median of each phase; asserts nothing.
#include "large_profile.h"
#include "profile_json.h"
#include "profile_store.h"

#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int runs = 21;

void report(const char *phase, const std::function<void()> &work)
{
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        ms.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    std::printf("%-38s min %7.3f ms   median %7.3f ms\n", phase, ms.front(), ms[ms.size() / 2]);
}

} // namespace

int main()
{
    QTemporaryDir dir;
    if (!dir.isValid())
        return 1;
    const ProfileData profile = largeProfile(0);
    const QString path = dir.filePath(QStringLiteral("Olvi/profile.json"));
    ProfileStore store(dir.path());
    store.update([&](ProfileData &p) { p = profile; });
    store.save();

    const QByteArray bytes = ProfileJson::encode(profile);
    std::printf("profile: %lld days, %lld key statistics, %lld-character manuscript, "
                "%lld bytes on disk\n",
                qint64(profile.days.size()), qint64(profile.keyStats.size()),
                qint64(profile.manuscript->size()), qint64(bytes.size()));

    bool ok = true;
    report("load (read + decode)", [&] {
        const auto read = ProfileStore::readProfileFile(path);
        ok = ok && read && ProfileJson::decode(*read) == profile;
    });
    report("encode", [&] { ok = ok && ProfileJson::encode(profile).size() == bytes.size(); });
    report("write + sync", [&] { ok = ok && ProfileStore::writeFileDurably(path, bytes); });
    report("encode + read back", [&] { ok = ok && ProfileJson::encodeReadable(profile); });
    report("save (encode, read back, write, sync)", [&] { store.save(); });
    if (!ok) {
        std::printf("a round trip failed\n");
        return 1;
    }
    return 0;
}
