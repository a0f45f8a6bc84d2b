#pragma once

#include "backscoring.h"
#include "formversion.h"
#include "frontscoring.h"
#include "words.h"

#include <QString>
#include <QStringList>

#include <optional>

// One child's paper as the class list holds it: typed results, so that the
// list, its summary and every copy read the same figures.
struct ChildRecord {
    FormVersion version = FormVersion::Parent;
    std::optional<Front::Result> front; // none: the front side had no tick
    std::optional<Back::Result> back; // none: the back side had no tick
    QString remark; // the notices' words on one line; empty for a complete paper
    QString number; // the pupil's เลขที่, or the paper's own without a pupil
    QString name; // the pupil's ชื่อ-สกุล, likewise
};

// The 14 result columns of a child's copied row: the six front-side scores
// each followed by its band word, then the back side's score and its
// severity word.
inline constexpr int kResultFieldCount = 14;
QStringList resultHeadings();

// A child's 14 result fields; a side with no result gives empty fields, and a
// score beyond every range an empty word.
QStringList resultFields(const std::optional<Front::Result> &front, const std::optional<Back::Result> &back);

// One of those fields, 0 to 13, without making the other thirteen: the class
// table asks for its cells one at a time.
QString resultField(const std::optional<Front::Result> &front, const std::optional<Back::Result> &back, int field);

// Fields as one spreadsheet line: joined by tabs, ending with a new line.
// Tabs and line breaks inside a field become spaces, so the line stays one row.
QString tabLine(const QStringList &fields);
