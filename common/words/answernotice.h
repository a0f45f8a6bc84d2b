#pragma once

#include <QString>
#include <QStringList>

// The red notice under "แปลผล": the questions left without an answer, then
// those with more than one, each list after its lead-in ("ข้อ 2, 4" on the
// front side, ": ระยะเวลาของปัญหา" on the back). Empty when neither is.
// Inline so that each side's words have it without linking the other's.
inline QString answerNotice(const QStringList &unanswered, const QStringList &doubled, const QString &listLead)
{
    using namespace Qt::StringLiterals;
    QStringList lines;
    if (!unanswered.isEmpty())
        lines << u"ยังไม่ได้ตอบ"_s + listLead + unanswered.join(u", "_s);
    if (!doubled.isEmpty())
        lines << u"ตอบเกิน 1 ช่อง"_s + listLead + doubled.join(u", "_s);
    return lines.join(u'\n');
}
