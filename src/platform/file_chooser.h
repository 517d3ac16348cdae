// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

// Asks the user for a file to write or to read. The answer comes later, as one
// of the signals: a dialog stays open for as long as the user likes.
class FileChooser : public QObject
{
    Q_OBJECT

public:
    // What the dialog says: its title and the name of its one filter.
    struct Wording
    {
        QString title;
        QString filterName;
    };

    struct Request
    {
        bool save = false;
        Wording wording;
        QString suggestedName; // for saving: the name the dialog proposes
        QString pattern;       // "*.csv"
    };

    using QObject::QObject;

    // A new request replaces one still open: only its answer counts.
    virtual void ask(const Request &request) = 0;

Q_SIGNALS:
    void chosen(const QString &path);
    void cancelled();
    // This chooser cannot ask here; the caller asks another way.
    void unavailable();
};
