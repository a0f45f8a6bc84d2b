#pragma once

// Classes the class-file tests write: every kind of record a class holds.

#include "classfile/classdata.h"

#include <QDateTime>

namespace ClassSample {

using namespace Qt::StringLiterals;

inline QDateTime at(int day, int msec)
{
    return QDateTime(QDate(2026, 6, day), QTime(8, 0).addMSecs(msec), Qt::UTC);
}

inline Paper paper(PaperId id, FormVersion version, PupilId pupil, int seed)
{
    Paper paper;
    paper.id = id;
    paper.version = version;
    paper.pupil = pupil;
    for (std::size_t i = 0; i < paper.ticks.front.size(); ++i)
        paper.ticks.front[i] = (i * 7 + std::size_t(seed)) % 3 == 0;
    for (std::size_t i = 0; i < paper.ticks.back.size(); ++i)
        paper.ticks.back[i] = (i + std::size_t(seed)) % 4 == 1;
    paper.added = at(1 + seed % 28, seed * 37);
    paper.changed = paper.added.addSecs(3600 + seed);
    return paper;
}

// A class of the given size: Thai names, the three versions, some papers
// beyond the roster with their own number and name.
inline ClassData whole(int pupils = 3)
{
    ClassData data;
    data.heading = {u"โรงเรียนบ้านหนองบัว"_s, u"ป.4"_s, u"2"_s, 2, 2569, u"ครูสมศรี ใจดี"_s};
    for (int i = 1; i <= pupils; ++i)
        data.roster.push_back({i, QString::number(i), u"เด็กชายภูมิ ทดสอบ %1"_s.arg(i)});
    PaperId id = 0;
    for (int i = 1; i <= pupils; ++i)
        for (FormVersion version : kFormVersions) {
            ++id;
            data.papers.push_back(paper(id, version, i, int(id)));
        }
    Paper beyond = paper(++id, FormVersion::Pupil, kNoPupil, 99);
    beyond.number = u"41"_s;
    beyond.name = u"เด็กหญิงมะลิ นอกรายชื่อ"_s;
    data.papers.push_back(beyond);
    return data;
}

} // namespace ClassSample
