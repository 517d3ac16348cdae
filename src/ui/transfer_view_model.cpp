// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "transfer_view_model.h"

#include "app_state.h"
#include "manuscript.h"
#include "russian_plural.h"

#include <QLocale>
#include <QStringList>

using namespace Qt::StringLiterals;

namespace {

QString quoted(const QString &name)
{
    return u'«' + name + u'»';
}

// What a count of things does, agreeing with it: "1 урок станет пройденным".
constexpr RussianPlural::Noun lessonsCompleted{u"урок станет пройденным",
                                               u"урока станут пройденными",
                                               u"уроков станут пройденными"};
constexpr RussianPlural::Noun keysOf{u"клавиши", u"клавиш", u"клавиш"};
constexpr RussianPlural::Noun goAway{u"уйдёт", u"уйдут", u"уйдут"};
constexpr RussianPlural::Noun oldestDays{u"самый старый день", u"самых старых дня",
                                         u"самых старых дней"};

} // namespace

TransferViewModel::TransferViewModel(QObject *parent) : AppViewModel(parent) {}

QList<QMetaObject::Connection> TransferViewModel::follow(AppState &app)
{
    ProgressTransfer *transfer = app.transfer();
    return {connect(transfer, &ProgressTransfer::outcomeChanged, this,
                    &TransferViewModel::messageChanged),
            connect(transfer, &ProgressTransfer::outcomeChanged, this,
                    &TransferViewModel::importChanged),
            connect(transfer, &ProgressTransfer::confirmingChanged, this,
                    &TransferViewModel::importChanged),
            connect(transfer, &ProgressTransfer::dialogChanged, this,
                    &TransferViewModel::dialogChanged)};
}

FileChooser::Wording TransferViewModel::dialogWording(ProgressTransfer::Dialog dialog)
{
    using enum ProgressTransfer::Dialog;
    switch (dialog) {
    case NoDialog: break;
    case SaveProgress: return {u"Сохранить прогресс"_s, u"Прогресс Олви"_s};
    case SaveTable: return {u"Таблица по дням"_s, u"Таблица CSV"_s};
    case OpenProgress: return {u"Загрузить прогресс"_s, u"Прогресс Олви"_s};
    }
    return {};
}

QString TransferViewModel::dialogTitle() const
{
    return app() ? dialogWording(app()->transfer()->dialog()).title : QString();
}

QStringList TransferViewModel::dialogFilters() const
{
    const ProgressTransfer *t = app() ? app()->transfer() : nullptr;
    if (!t || t->dialog() == ProgressTransfer::Dialog::NoDialog)
        return {};
    return {dialogWording(t->dialog()).filterName + u" ("_s + t->dialogPattern() + u')'};
}

QString TransferViewModel::message() const
{
    const ProgressTransfer *t = app() ? app()->transfer() : nullptr;
    return t ? sentence(t->outcome(), t->fileName(), t->copyName()) : QString();
}

QString TransferViewModel::confirmTitle() const
{
    const ProgressTransfer *t = app() ? app()->transfer() : nullptr;
    if (!t || !t->confirming())
        return {};
    return u"Объединить с прогрессом из файла %1?"_s.arg(quoted(t->fileName()));
}

QString TransferViewModel::importSummary() const
{
    const ProgressTransfer *t = app() ? app()->transfer() : nullptr;
    return t && t->confirming() ? effectSentence(t->effect(), t->lessonAfter()) : QString();
}

QString TransferViewModel::sentence(ProgressTransfer::Outcome outcome, const QString &fileName,
                                    const QString &copyName)
{
    const QString file = quoted(fileName);
    const QString copy = quoted(copyName);
    using enum ProgressTransfer::Outcome;
    switch (outcome) {
    case None: return {};
    case ProfileSaved: return u"Прогресс сохранён в файл %1."_s.arg(file);
    case TableSaved: return u"Таблица сохранена в файл %1."_s.arg(file);
    case NotWritten: return u"Не удалось записать файл %1."_s.arg(file);
    case NotRead: return u"Не удалось прочитать файл %1."_s.arg(file);
    case FileTooLarge: return u"Файл %1 слишком велик для прогресса Олви."_s.arg(file);
    case NotAProfile: return u"В файле %1 нет прогресса Олви."_s.arg(file);
    case TooMuchData:
        return u"В файле %1 больше данных, чем записывает Олви (или текст рукописи длиннее "
               "%2 знаков), — он не загружен."_s
            .arg(file, QLocale(QLocale::Russian).toString(Manuscript::maxLength));
    case UnknownKeys:
        return u"В файле %1 есть статистика знаков, которых нет на русской раскладке, — он не "
               "загружен."_s.arg(file);
    case ImpossibleNumbers:
        return u"В файле %1 есть невозможные числа — он не загружен."_s.arg(file);
    case FutureDays:
        return u"В файле %1 есть занятия позже завтрашнего дня — видимо, на том компьютере "
               "неверно идут часы. Файл не загружен."_s.arg(file);
    case MergeTooLarge:
        return u"Вместе с прогрессом этого компьютера данные из файла %1 не поместятся в "
               "профиль — он не загружен."_s.arg(file);
    case NothingNew:
        return u"В файле %1 нет ничего нового — прогресс не изменился."_s.arg(file);
    case Merged: return u"Прогресс объединён. Прежний сохранён рядом как %1."_s.arg(copy);
    case CopyNotKept:
        return u"Не удалось сохранить копию прежнего прогресса — ничего не изменено."_s;
    case MergeNotSaved:
        return u"Не удалось записать объединённый прогресс — ничего не изменено. Копия "
               "прежнего прогресса лежит рядом с профилем как %1."_s.arg(copy);
    case AnotherOlviWrites:
        return u"Прогресс ведёт другой открытый Олви — загрузите файл в нём."_s;
    case CannotSave:
        return u"Олви сейчас не может сохранять прогресс, поэтому загрузить файл нельзя."_s;
    }
    return {};
}

QString TransferViewModel::effectSentence(const ProfileMerge::Effect &effect, qint64 lessonAfter)
{
    using RussianPlural::counted;
    QStringList parts;
    if (effect.newDays > 0)
        parts << u"добавится "_s + counted(effect.newDays, RussianPlural::day);
    // The store keeps the latest days only: say which of this computer's go.
    if (effect.droppedDays > 0) {
        parts << RussianPlural::form(effect.droppedDays, goAway) + u' '
                     + counted(effect.droppedDays, oldestDays);
    }
    if (effect.fullerDays > 0)
        parts << u"обновятся данные за "_s + counted(effect.fullerDays, RussianPlural::day);
    if (effect.newlyCompleted > 0)
        parts << counted(effect.newlyCompleted, lessonsCompleted);
    if (effect.betterKeys > 0)
        parts << u"обновится статистика "_s + counted(effect.betterKeys, keysOf);
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
