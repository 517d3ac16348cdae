// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt_russian.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

using namespace Qt::StringLiterals;

namespace {

// The labels of Qt Quick's own file dialog. Installed before Qt's catalogues,
// so that a catalogue which translates them wins.
class FileDialogLabels final : public QTranslator
{
public:
    using QTranslator::QTranslator;

    [[nodiscard]] QString translate(const char *context, const char *sourceText,
                                    const char * /*disambiguation*/, int /*n*/) const override
    {
        if (qstrcmp(context, "FileDialog") != 0)
            return {};
        if (qstrcmp(sourceText, "File name") == 0)
            return u"Имя файла"_s;
        if (qstrcmp(sourceText, "Filter") == 0)
            return u"Фильтр"_s;
        return {};
    }
    [[nodiscard]] bool isEmpty() const override { return false; }
};

} // namespace

void installQtRussian(QCoreApplication &app)
{
    QCoreApplication::installTranslator(new FileDialogLabels(&app));
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    // qtbase holds the dialogs' buttons, qtdeclarative what Qt Quick says.
    for (const QString &catalogue : {u"qtbase_ru"_s, u"qtdeclarative_ru"_s}) {
        auto *translator = new QTranslator(&app);
        if (translator->load(catalogue, folder))
            QCoreApplication::installTranslator(translator);
        else
            delete translator;
    }
}
