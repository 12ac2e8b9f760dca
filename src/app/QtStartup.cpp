#include "app/QtStartup.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QTranslator>

namespace quilmo {

namespace {

const QString kTahoma = QStringLiteral("Tahoma");

bool HasTahoma()
{
    return QFontDatabase::families().contains(kTahoma, Qt::CaseInsensitive);
}

}  // namespace

bool InstallQtTranslation(QCoreApplication& app)
{
    // The translator lives as long as the application that owns it.
    if (app.findChild<QTranslator*>(QStringLiteral("QtBaseRussian"), Qt::FindDirectChildrenOnly))
        return true;
    auto* translator = new QTranslator(&app);
    translator->setObjectName(QStringLiteral("QtBaseRussian"));
    if (!translator->load(QStringLiteral("qtbase_ru"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    return true;
}

QStringList TahomaFolders()
{
    return {QStringLiteral("/usr/share/wine/fonts"), QStringLiteral("/usr/local/share/wine/fonts")};
}

bool RegisterTahoma(const QStringList& folders)
{
    if (HasTahoma())
        return true;
    for (const QString& folder : folders) {
        const QDir dir(folder);
        const QString regular = dir.filePath(QStringLiteral("tahoma.ttf"));
        if (!QFileInfo::exists(regular))
            continue;
        QFontDatabase::addApplicationFont(regular);
        const QString bold = dir.filePath(QStringLiteral("tahomabd.ttf"));
        if (QFileInfo::exists(bold))
            QFontDatabase::addApplicationFont(bold);
        if (HasTahoma())
            return true;
    }
    return false;
}

void PrepareApplication(QCoreApplication& app)
{
    InstallQtTranslation(app);
    RegisterTahoma();
    QFont font(kTahoma);
    font.setPointSize(8);
    QApplication::setFont(font);
}

}  // namespace quilmo
