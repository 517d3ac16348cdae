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

#include <array>

using namespace Qt::StringLiterals;

namespace {

using Forms = std::array<const char *, 3>;

// Which of the three Russian forms goes with n: 1 (21, 101…), 2–4 (22…) or
// the rest, 11–14 among them.
int pluralForm(qint64 n)
{
    const qint64 tens = n % 100;
    const qint64 units = n % 10;
    if (tens >= 11 && tens <= 14)
        return 2;
    if (units == 1)
        return 0;
    return units >= 2 && units <= 4 ? 1 : 2;
}

QString counted(qint64 n, const Forms &forms)
{
    return QString::number(n) + u' ' + QString::fromUtf8(forms.at(pluralForm(n)));
}

QString quoted(const QString &name)
{
    return u'«' + name + u'»';
}

} // namespace

ProgressTransfer::ProgressTransfer(ProfileStore &store, FileChooser &chooser, Clock now,
                                   QObject *parent)
    : QObject(parent), m_store(store), m_now(std::move(now)), m_chooser(chooser)
{
    connect(&m_store, &ProfileStore::dataChanged, this, &ProgressTransfer::refreshImport);
    connect(&m_chooser, &FileChooser::chosen, this, &ProgressTransfer::onChosen);
    connect(&m_chooser, &FileChooser::cancelled, this, [this] { m_asking.reset(); });
    connect(&m_chooser, &FileChooser::unavailable, this, &ProgressTransfer::onUnavailable);
}

void ProgressTransfer::exportProfile()
{
    ask(Action::saveProfile);
}

void ProgressTransfer::exportTable()
{
    ask(Action::saveTable);
}

void ProgressTransfer::chooseImport()
{
    ask(Action::open);
}

void ProgressTransfer::ask(Action action)
{
    setIncoming(std::nullopt);
    setMessage({});
    if (action == Action::open) {
        if (const QString why = whyNotWritable(); !why.isEmpty())
            return setMessage(why);
    }
    const QString day = ProfileStore::dayKey(m_now());
    const QString json = u"Прогресс Олви"_s;
    switch (action) {
    case Action::saveProfile:
        m_request = {true, u"Сохранить прогресс"_s, u"olvi-progress-%1.json"_s.arg(day), json,
                     u"*.json"_s};
        break;
    case Action::saveTable:
        m_request = {true, u"Таблица по дням"_s, u"olvi-days-%1.csv"_s.arg(day),
                     u"Таблица CSV"_s, u"*.csv"_s};
        break;
    case Action::open:
        m_request = {false, u"Загрузить прогресс"_s, {}, json, u"*.json"_s};
        break;
    }
    m_asking = action;
    setDialog(Dialog::NoDialog);
    m_chooser.ask(m_request);
}

void ProgressTransfer::onUnavailable()
{
    if (m_asking)
        setDialog(m_request.save ? Dialog::SaveDialog : Dialog::OpenDialog);
}

void ProgressTransfer::dialogAccepted(const QUrl &file)
{
    setDialog(Dialog::NoDialog);
    if (file.isLocalFile())
        onChosen(file.toLocalFile());
    else
        m_asking.reset();
}

void ProgressTransfer::dialogRejected()
{
    setDialog(Dialog::NoDialog);
    m_asking.reset();
}

void ProgressTransfer::onChosen(const QString &path)
{
    const std::optional<Action> action = std::exchange(m_asking, std::nullopt);
    if (action == Action::saveProfile)
        saveProfileTo(path);
    else if (action == Action::saveTable)
        saveTableTo(path);
    else if (action == Action::open)
        readImport(path);
}

void ProgressTransfer::saveProfileTo(const QString &path)
{
    const QString name = quoted(QFileInfo(path).fileName());
    const QByteArray bytes = ProfileJson::encode(m_store.data());
    setMessage(!bytes.isEmpty() && ProfileStore::writeFileDurably(path, bytes)
                   ? u"Прогресс сохранён в файл %1."_s.arg(name)
                   : u"Не удалось записать файл %1."_s.arg(name));
}

void ProgressTransfer::saveTableTo(const QString &path)
{
    const QString name = quoted(QFileInfo(path).fileName());
    setMessage(ProfileStore::writeFileDurably(path, ProfileCsv::days(m_store.data().days))
                   ? u"Таблица сохранена в файл %1."_s.arg(name)
                   : u"Не удалось записать файл %1."_s.arg(name));
}

void ProgressTransfer::readImport(const QString &path)
{
    const QString name = quoted(QFileInfo(path).fileName());
    if (const QString why = whyNotWritable(); !why.isEmpty())
        return setMessage(why);
    const std::optional<QByteArray> bytes = ProfileStore::readProfileFile(path);
    if (!bytes) {
        return setMessage(QFileInfo(path).size() > ProfileJson::maxDocumentSize
                              ? u"Файл %1 слишком велик для прогресса Олви."_s.arg(name)
                              : u"Не удалось прочитать файл %1."_s.arg(name));
    }
    std::optional<ProfileData> incoming = ProfileJson::decode(*bytes);
    if (!incoming)
        return setMessage(u"В файле %1 нет прогресса Олви."_s.arg(name));
    if (ProfileMerge::check(*incoming) != ProfileMerge::Refusal::none) {
        return setMessage(u"В файле %1 есть невозможные числа — он не загружен."_s.arg(name));
    }
    m_incomingName = name;
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
        return setMessage(u"В файле %1 нет ничего нового — прогресс не изменился."_s
                              .arg(m_incomingName));
    }
    setIncoming(m_incoming, effectSentence(effect, merged.currentLessonID));
}

void ProgressTransfer::confirmImport()
{
    if (!m_incoming)
        return;
    const ProfileData incoming = *m_incoming;
    setIncoming(std::nullopt); // before the store announces the merge
    if (const QString why = whyNotWritable(); !why.isEmpty())
        return setMessage(why);
    const QString copy = m_store.keepCopyAside(u"before-import");
    if (copy.isEmpty()) {
        return setMessage(u"Не удалось сохранить копию прежнего прогресса — ничего не изменено."_s);
    }
    const ProfileData before = m_store.data();
    m_store.update([&](ProfileData &p) { p = ProfileMerge::merge(p, incoming); });
    m_store.save();
    if (!m_store.persistent()) {
        m_store.update([&](ProfileData &p) { p = before; });
        QFile::remove(copy);
        return setMessage(u"Не удалось записать объединённый прогресс — ничего не изменено."_s);
    }
    setMessage(u"Прогресс объединён. Прежний сохранён рядом как %1."_s
                   .arg(quoted(QFileInfo(copy).fileName())));
}

void ProgressTransfer::cancelImport()
{
    setIncoming(std::nullopt);
}

QString ProgressTransfer::whyNotWritable() const
{
    switch (m_store.storageProblem()) {
    case ProfileStore::StorageProblem::none:
        return {};
    case ProfileStore::StorageProblem::lockedByAnotherOlvi:
        return u"Прогресс ведёт другой открытый Олви — загрузите файл в нём."_s;
    case ProfileStore::StorageProblem::noDataFolder:
    case ProfileStore::StorageProblem::folderNotWritable:
    case ProfileStore::StorageProblem::fileNotWritable:
    case ProfileStore::StorageProblem::profileTooLarge:
        break;
    }
    return u"Олви сейчас не может сохранять прогресс, поэтому загрузить файл нельзя."_s;
}

QString ProgressTransfer::effectSentence(const ProfileMerge::Effect &effect, qint64 lessonAfter)
{
    const Forms days{"день", "дня", "дней"};
    QStringList parts;
    if (effect.newDays > 0)
        parts << u"добавится "_s + counted(effect.newDays, days);
    if (effect.fullerDays > 0)
        parts << u"обновятся данные за "_s + counted(effect.fullerDays, days);
    if (effect.newlyCompleted > 0) {
        parts << counted(effect.newlyCompleted, {"урок станет пройденным",
                                                 "урока станут пройденными",
                                                 "уроков станут пройденными"});
    }
    if (effect.betterKeys > 0)
        parts << u"обновится статистика "_s + counted(effect.betterKeys, {"клавиши", "клавиш",
                                                                          "клавиш"});
    if (effect.courseMoves)
        parts << u"курс продвинется до урока %1"_s.arg(lessonAfter);
    if (effect.manuscriptArrives)
        parts << u"появится текст рукописи"_s;
    if (parts.isEmpty())
        return u"Ничего нового."_s;
    QString sentence = parts.join(u", "_s) + u'.';
    sentence[0] = sentence[0].toUpper();
    return sentence;
}

QStringList ProgressTransfer::dialogFilters() const
{
    return {m_request.filterName + u" ("_s + m_request.pattern + u')'};
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

void ProgressTransfer::setMessage(const QString &message)
{
    if (m_message == message)
        return;
    m_message = message;
    Q_EMIT messageChanged();
}

void ProgressTransfer::setIncoming(std::optional<ProfileData> incoming, const QString &summary)
{
    const bool changed = incoming.has_value() != m_incoming.has_value() || summary != m_summary;
    m_incoming = std::move(incoming);
    m_summary = summary;
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
