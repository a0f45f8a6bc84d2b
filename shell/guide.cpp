#include "guide.h"

#include "log.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace {

void tell(QWidget *parent, const QString &text)
{
    QMessageBox box(QMessageBox::Warning, u"คู่มือการใช้งาน"_s, text, QMessageBox::NoButton, parent);
    QPushButton *ok = box.addButton(u"ตกลง"_s, QMessageBox::AcceptRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(ok);
    box.exec();
}

} // namespace

namespace Guide {

QStringList places()
{
    const QDir programFolder(QCoreApplication::applicationDirPath());
    // Where the program's folder carries it, then where the package puts it.
    QStringList pages;
    for (const QString &folder : {u"guide"_s, QStringLiteral(KVT_INSTALLED_GUIDE_FOLDER)})
        pages.append(QDir::cleanPath(programFolder.absoluteFilePath(folder + u"/kvt-guide.html"_s)));
    return pages;
}

QUrl location()
{
    for (const QString &page : places())
        if (QFileInfo(page).isFile())
            return QUrl::fromLocalFile(page);
    return {};
}

void open(QWidget *parent)
{
    const QUrl page = location();
    if (page.isEmpty()) {
        const QStringList looked = places();
        qCWarning(lcKvt) << "No guide at" << looked;
        QStringList shown;
        for (const QString &place : looked)
            shown.append(QDir::toNativeSeparators(place));
        tell(parent,
            u"ไม่พบคู่มือการใช้งาน\n\nโปรแกรมค้นหาคู่มือที่\n%1\n\n"
            u"กรุณาติดตั้งโปรแกรมใหม่อีกครั้ง หรือแจ้งผู้ดูแลคอมพิวเตอร์ของโรงเรียน"_s.arg(shown.join(u'\n')));
        return;
    }
    if (!QDesktopServices::openUrl(page)) {
        qCWarning(lcKvt) << "No browser opened the guide" << page;
        tell(parent,
            u"เปิดคู่มือการใช้งานไม่ได้\n\nคู่มืออยู่ที่\n%1\n\n"
            u"เครื่องนี้อาจยังไม่มีโปรแกรมที่เปิดไฟล์นี้ได้\nกรุณาเปิดไฟล์นี้ด้วยเว็บเบราว์เซอร์ "
            u"หรือแจ้งผู้ดูแลคอมพิวเตอร์ของโรงเรียน"_s.arg(QDir::toNativeSeparators(page.toLocalFile())));
    }
}

} // namespace Guide
