#include "ui/app/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

bool InstallQtTranslations(int languageIndex)
{
    // Lives as long as the application: installed translators are not owned.
    static QTranslator translator;
    QCoreApplication::removeTranslator(&translator);
    QString file;
    if (languageIndex == 1)
        file = QStringLiteral("qtbase_zh_CN");
    else if (languageIndex == 2)
        file = QStringLiteral("qtbase_ja");
    else
        return true;
    return translator.load(file, QLibraryInfo::path(QLibraryInfo::TranslationsPath))
        && QCoreApplication::installTranslator(&translator);
}
