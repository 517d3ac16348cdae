// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "progress_transfer.h"

#include "profile_csv.h"
#include "profile_json.h"
#include "profile_store.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace {

const QString beforeImport = u"before-import"_s;

ProgressTransfer::Outcome outcomeOf(ProfileMerge::Refusal refusal)
{
    using enum ProgressTransfer::Outcome;
    switch (refusal) {
    case ProfileMerge::Refusal::none: return None;
    case ProfileMerge::Refusal::tooMuch: return TooMuchData;
    case ProfileMerge::Refusal::unknownKey: return UnknownKeys;
    case ProfileMerge::Refusal::outOfRange: return ImpossibleNumbers;
    case ProfileMerge::Refusal::futureDay: return FutureDays;
    }
    return ImpossibleNumbers;
}

} // namespace

ProgressTransfer::ProgressTransfer(ProfileStore &store, FileChooser &chooser, Clock now,
                                   Wording wording, QObject *parent)
    : QObject(parent), m_store(store), m_now(std::move(now)), m_wording(std::move(wording)),
      m_chooser(chooser)
{
    connect(&m_store, &ProfileStore::dataChanged, this, &ProgressTransfer::refreshImport);
    connect(&m_chooser, &FileChooser::chosen, this, &ProgressTransfer::onChosen);
    connect(&m_chooser, &FileChooser::cancelled, this, [this] { m_asking.reset(); });
    connect(&m_chooser, &FileChooser::unavailable, this, &ProgressTransfer::onUnavailable);
}

void ProgressTransfer::exportProfile()
{
    ask(Dialog::SaveProgress);
}

void ProgressTransfer::exportTable()
{
    ask(Dialog::SaveTable);
}

void ProgressTransfer::chooseImport()
{
    ask(Dialog::OpenProgress);
}

void ProgressTransfer::ask(Dialog action)
{
    setIncoming(std::nullopt);
    setOutcome(Outcome::None);
    if (action == Dialog::OpenProgress) {
        if (const Outcome why = whyNotWritable(); why != Outcome::None)
            return setOutcome(why);
    }
    const QString day = ProfileStore::dayKey(m_now());
    const FileChooser::Wording wording = m_wording ? m_wording(action) : FileChooser::Wording{};
    switch (action) {
    case Dialog::SaveProgress:
        m_request = {true, wording, u"olvi-progress-%1.json"_s.arg(day), u"*.json"_s};
        break;
    case Dialog::SaveTable:
        m_request = {true, wording, u"olvi-days-%1.csv"_s.arg(day), u"*.csv"_s};
        break;
    case Dialog::OpenProgress:
    case Dialog::NoDialog:
        m_request = {false, wording, {}, u"*.json"_s};
        break;
    }
    m_asking = action;
    setDialog(Dialog::NoDialog);
    m_chooser.ask(m_request);
}

void ProgressTransfer::onUnavailable()
{
    if (m_asking)
        setDialog(*m_asking);
}

void ProgressTransfer::dialogAccepted(const QUrl &file)
{
    setDialog(Dialog::NoDialog);
    // Qt 6.4's own dialog hands a typed name back as a bare path, its "#" or
    // "?" read as the start of a fragment or query: put them back.
    QString path = file.isLocalFile() ? file.toLocalFile() : QString();
    if (file.scheme().isEmpty() && !file.path().isEmpty()) {
        path = file.path();
        if (file.hasQuery())
            path += u'?' + file.query(QUrl::FullyDecoded);
        if (file.hasFragment())
            path += u'#' + file.fragment(QUrl::FullyDecoded);
    }
    if (path.isEmpty())
        return dialogRejected();
    onChosen(QDir(dialogFolder().toLocalFile()).absoluteFilePath(path));
}

void ProgressTransfer::dialogRejected()
{
    setDialog(Dialog::NoDialog);
    m_asking.reset();
}

void ProgressTransfer::onChosen(QString path)
{
    const std::optional<Dialog> action = std::exchange(m_asking, std::nullopt);
    // A name typed without its extension gets the one of the file's kind.
    const QString suffix = m_request.pattern.mid(1);
    if (m_request.save && !path.endsWith(suffix, Qt::CaseInsensitive))
        path += suffix;
    if (action == Dialog::SaveProgress)
        saveProfileTo(path);
    else if (action == Dialog::SaveTable)
        saveTableTo(path);
    else if (action == Dialog::OpenProgress)
        readImport(path);
}

void ProgressTransfer::saveProfileTo(const QString &path)
{
    // A file the other computer's Olvi could not read is not a copy of the progress.
    const std::optional<QByteArray> bytes = ProfileJson::encodeReadable(m_store.data());
    setOutcome(bytes && ProfileStore::writeFileDurably(path, *bytes) ? Outcome::ProfileSaved
                                                                     : Outcome::NotWritten,
               QFileInfo(path).fileName());
}

void ProgressTransfer::saveTableTo(const QString &path)
{
    setOutcome(ProfileStore::writeFileDurably(path, ProfileCsv::days(m_store.data().days))
                   ? Outcome::TableSaved
                   : Outcome::NotWritten,
               QFileInfo(path).fileName());
}

void ProgressTransfer::readImport(const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    if (const Outcome why = whyNotWritable(); why != Outcome::None)
        return setOutcome(why);
    const std::optional<QByteArray> bytes = ProfileStore::readProfileFile(path);
    if (!bytes) {
        return setOutcome(QFileInfo(path).size() > ProfileJson::maxDocumentSize
                              ? Outcome::FileTooLarge
                              : Outcome::NotRead,
                          name);
    }
    std::optional<ProfileData> incoming = ProfileJson::decode(*bytes);
    if (!incoming)
        return setOutcome(Outcome::NotAProfile, name);
    const ProfileMerge::Refusal refusal = ProfileMerge::check(*incoming, m_now().date());
    if (refusal != ProfileMerge::Refusal::none)
        return setOutcome(outcomeOf(refusal), name);
    setOutcome(Outcome::None, name);
    setIncoming(std::move(incoming));
    refreshImport();
}

void ProgressTransfer::refreshImport()
{
    if (!m_incoming)
        return;
    const ProfileData merged = ProfileMerge::merge(m_store.data(), *m_incoming);
    const ProfileMerge::Effect effect = ProfileMerge::effect(m_store.data(), merged);
    if (effect.nothing()) {
        setIncoming(std::nullopt);
        return setOutcome(Outcome::NothingNew, m_fileName);
    }
    // Refused before anything changes: saved, it would leave a file the next
    // start cannot read.
    if (!ProfileJson::encodeReadable(merged)) {
        setIncoming(std::nullopt);
        return setOutcome(Outcome::MergeTooLarge, m_fileName);
    }
    setIncoming(m_incoming, effect, merged.currentLessonID);
}

void ProgressTransfer::confirmImport()
{
    if (!m_incoming)
        return;
    const ProfileData incoming = *m_incoming;
    const QString name = m_fileName;
    setIncoming(std::nullopt); // before the store announces the merge
    if (const Outcome why = whyNotWritable(); why != Outcome::None)
        return setOutcome(why);
    const ProfileData before = m_store.data();
    const ProfileData merged = ProfileMerge::merge(before, incoming);
    if (!ProfileJson::encodeReadable(merged))
        return setOutcome(Outcome::MergeTooLarge, name);
    const QString copy = m_store.keepCopyAside(beforeImport);
    if (copy.isEmpty())
        return setOutcome(Outcome::CopyNotKept, name);
    m_store.update([&](ProfileData &p) { p = merged; });
    m_store.save();
    const QString copyName = QFileInfo(copy).fileName();
    if (!m_store.persistent()) {
        // The copy stays: where the profile file is in the way, it may be the
        // one readable record of the progress on disk.
        m_store.update([&](ProfileData &p) { p = before; });
        return setOutcome(Outcome::MergeNotSaved, name, copyName);
    }
    m_store.pruneCopiesAside(beforeImport, keptCopies);
    setOutcome(Outcome::Merged, name, copyName);
}

void ProgressTransfer::cancelImport()
{
    setIncoming(std::nullopt);
}

ProgressTransfer::Outcome ProgressTransfer::whyNotWritable() const
{
    switch (m_store.storageProblem()) {
    case ProfileStore::StorageProblem::none:
        return Outcome::None;
    case ProfileStore::StorageProblem::lockedByAnotherOlvi:
        return Outcome::AnotherOlviWrites;
    case ProfileStore::StorageProblem::noDataFolder:
    case ProfileStore::StorageProblem::folderNotWritable:
    case ProfileStore::StorageProblem::fileNotWritable:
    case ProfileStore::StorageProblem::profileTooLarge:
        break;
    }
    return Outcome::CannotSave;
}

QUrl ProgressTransfer::dialogFolder() const
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QUrl::fromLocalFile(QFileInfo(documents).isDir() ? documents : QDir::homePath());
}

QUrl ProgressTransfer::dialogFile() const
{
    if (m_request.suggestedName.isEmpty())
        return {};
    const QDir folder(dialogFolder().toLocalFile());
    return QUrl::fromLocalFile(folder.filePath(m_request.suggestedName));
}

void ProgressTransfer::setOutcome(Outcome outcome, const QString &fileName,
                                  const QString &copyName)
{
    if (std::tie(m_outcome, m_fileName, m_copyName) == std::tie(outcome, fileName, copyName))
        return;
    m_outcome = outcome;
    m_fileName = fileName;
    m_copyName = copyName;
    Q_EMIT outcomeChanged();
}

void ProgressTransfer::setIncoming(std::optional<ProfileData> incoming,
                                   const ProfileMerge::Effect &effect, qint64 lessonAfter)
{
    const bool changed = incoming.has_value() != m_incoming.has_value() || !(effect == m_effect)
                         || lessonAfter != m_lessonAfter;
    m_incoming = std::move(incoming);
    m_effect = effect;
    m_lessonAfter = lessonAfter;
    if (changed)
        Q_EMIT confirmingChanged();
}

void ProgressTransfer::setDialog(Dialog dialog)
{
    if (m_dialog == dialog)
        return;
    m_dialog = dialog;
    Q_EMIT dialogChanged();
}
