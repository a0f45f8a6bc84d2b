#include "answernotice.h"

using namespace Qt::StringLiterals;

QString answerNotice(const QStringList &unanswered, const QStringList &doubled, const QString &listLead)
{
    QStringList lines;
    if (!unanswered.isEmpty())
        lines << u"ยังไม่ได้ตอบ"_s + listLead + unanswered.join(u", "_s);
    if (!doubled.isEmpty())
        lines << u"ตอบเกิน 1 ช่อง"_s + listLead + doubled.join(u", "_s);
    return lines.join(u'\n');
}
