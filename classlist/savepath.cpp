#include "savepath.h"

#include "classlistwindow.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

using namespace Qt::StringLiterals;

QString askSavePath(QWidget *parent, const QString &caption, const QString &folder, const QString &suggestedName,
    const QString &suffix, const QString &filter)
{
    QString proposed = QDir(folder).filePath(finalSavePath(suggestedFileName(suggestedName), suffix));
    for (;;) {
        // The dialog's own question would name the file before the suffix
        // is added, so the question is ours.
        const QString chosen = QFileDialog::getSaveFileName(
            parent, caption, proposed, filter, nullptr, QFileDialog::DontConfirmOverwrite);
        if (chosen.isEmpty())
            return {};
        const QString path = finalSavePath(chosen, suffix);
        const QFileInfo file(path);
        if (!file.exists() || file.isDir())
            return path;
        const QString question = u"มีไฟล์ชื่อ \"%1\" อยู่ในโฟลเดอร์ \"%2\" แล้ว\n\n"
                                 u"ต้องการบันทึกทับไฟล์เดิมใช่หรือไม่ ถ้าบันทึกทับ ข้อมูลในไฟล์เดิมจะหายไป"_s.arg(
                                     file.fileName(), QDir::toNativeSeparators(file.absolutePath()));
        if (askToProceed(parent, question, u"บันทึกทับไฟล์เดิม"_s, u"เลือกชื่ออื่น"_s))
            return path;
        proposed = path;
    }
}

QString finalSavePath(const QString &chosen, const QString &suffix)
{
    if (chosen.isEmpty() || chosen.endsWith(u'.' + suffix, Qt::CaseInsensitive))
        return chosen;
    // Windows drops a name's last dots, so "ห้อง ป.4-2." is "ห้อง ป.4-2".
    QString path = chosen;
    while (path.endsWith(u'.'))
        path.chop(1);
    return path + u'.' + suffix;
}

QString suggestedFileName(const QString &text)
{
    static const QString refused = u"/\\:*?\"<>|"_s;
    QString name = text.trimmed();
    for (QChar &c : name) {
        if (refused.contains(c) || c.category() == QChar::Other_Control)
            c = u'-';
    }
    return name;
}
