#include "guide.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace Guide {

QUrl location()
{
    const QDir programFolder(QCoreApplication::applicationDirPath());
    // Where the program's folder carries it, then where the package puts it.
    for (const QString &folder : {u"guide"_s, QStringLiteral(KVT_INSTALLED_GUIDE_FOLDER)}) {
        const QFileInfo page(programFolder.filePath(folder + u"/kvt-guide.html"_s));
        if (page.isFile())
            return QUrl::fromLocalFile(page.absoluteFilePath());
    }
    return {};
}

void open()
{
    const QUrl page = location();
    if (!page.isEmpty())
        QDesktopServices::openUrl(page);
}

} // namespace Guide
