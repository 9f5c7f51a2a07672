// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <memory>
#include <vector>

const char *const CTranslations::ResourceFolder = ":/i18n";

namespace {

std::vector<std::unique_ptr<QTranslator>> LoadTranslators()
{
    std::vector<std::unique_ptr<QTranslator>> loaded;
    const QLocale locale;
    auto load = [&](const QString &name, const QString &folder) {
        auto translator = std::make_unique<QTranslator>();
        if (translator->load(locale, name, QStringLiteral("_"), folder))
            loaded.push_back(std::move(translator));
    };
    load(QStringLiteral("tarvex"), QString::fromLatin1(CTranslations::ResourceFolder));
    // Qt's own texts (Yes, No, Cancel, the file dialog, --help) follow only where the
    // program itself speaks the language: a half-translated window helps nobody.
    if (!loaded.empty())
        load(QStringLiteral("qtbase"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    return loaded;
}

} // namespace

void CTranslations::Install(QCoreApplication &app)
{
    static const std::vector<std::unique_ptr<QTranslator>> translators = LoadTranslators();
    for (const auto &translator : translators)
        app.installTranslator(translator.get());
}
