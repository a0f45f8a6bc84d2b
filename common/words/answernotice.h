#pragma once

#include <QString>
#include <QStringList>

// The red notice under "แปลผล": the questions left without an answer, then
// those with more than one, each list after its lead-in ("ข้อ 2, 4" on the
// front side, ": ระยะเวลาของปัญหา" on the back). Empty when neither is.
QString answerNotice(const QStringList &unanswered, const QStringList &doubled, const QString &listLead);
