#pragma once

#include "formversion.h"
#include "paper.h"

#include <QDateTime>
#include <QString>
#include <QtGlobal>

#include <optional>
#include <tuple>
#include <vector>

// A class as its file keeps it: the heading typed at the top of the list, the
// roster and every paper copied. Results are not part of it: they are worked
// out again from each paper's ticks whenever they are shown.

// "ภาคเรียนที่ 2 ปีการศึกษา 2569": the term (1 or 2) and the Buddhist-era year.
struct ClassHeading {
    QString school;
    QString grade; // ชั้น, as typed: "ป.4"
    QString room; // ห้อง, as typed: "2"
    int term = 1;
    int year = 0;
    QString recorder; // ผู้บันทึก
};

// Ids grow as records are added, from the largest the file holds once it is
// opened again, so a class's pupils and papers are kept and shown in the
// order of their ids.
using PupilId = qint64;
using PaperId = qint64;
inline constexpr PupilId kNoPupil = 0;

struct Pupil {
    PupilId id = kNoPupil;
    QString number; // เลขที่, as typed or pasted
    QString name; // ชื่อ-สกุล
};

struct Paper {
    PaperId id = 0;
    FormVersion version = FormVersion::Parent;
    PupilId pupil = kNoPupil; // none: a paper beyond the roster, or a class without one
    QString number; // the paper's own เลขที่ and ชื่อ-สกุล, used only without a pupil
    QString name;
    PaperTicks ticks;
    QDateTime added; // UTC
    QDateTime changed; // UTC
};

struct ClassData {
    ClassHeading heading;
    std::vector<Pupil> roster; // by id
    std::vector<Paper> papers; // by id
};

// One change to a class, written to its file in one transaction: records
// added or replaced by id, and records removed.
struct ClassChange {
    std::optional<ClassHeading> heading;
    std::vector<Pupil> pupils;
    std::vector<PupilId> removedPupils;
    std::vector<Paper> papers;
    std::vector<PaperId> removedPapers;
};

inline bool operator==(const ClassHeading &a, const ClassHeading &b)
{
    return std::tie(a.school, a.grade, a.room, a.term, a.year, a.recorder)
        == std::tie(b.school, b.grade, b.room, b.term, b.year, b.recorder);
}
inline bool operator==(const Pupil &a, const Pupil &b)
{
    return std::tie(a.id, a.number, a.name) == std::tie(b.id, b.number, b.name);
}
inline bool operator==(const Paper &a, const Paper &b)
{
    return std::tie(a.id, a.version, a.pupil, a.number, a.name, a.ticks, a.added, a.changed)
        == std::tie(b.id, b.version, b.pupil, b.number, b.name, b.ticks, b.added, b.changed);
}
inline bool operator==(const ClassData &a, const ClassData &b)
{
    return std::tie(a.heading, a.roster, a.papers) == std::tie(b.heading, b.roster, b.papers);
}
