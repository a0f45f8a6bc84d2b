#pragma once

#include <QStringList>

class QAction;
class QWidget;

// One child's results as one spreadsheet row, so that the rows of a whole
// class pasted one under another give one row per child: the six front-side
// scores each followed by its band word, then the back side's score and its
// severity word, separated by tabs. Nothing is written anywhere but the
// clipboard.
namespace ResultRow {

inline constexpr int kFieldCount = 14;

// The column names, in the order of the fields.
QStringList headerNames();

// The fields joined by tabs, ending with a new line.
QString line(const QStringList &fields);

// The fields as the screens show them now; those of a screen that does not
// exist are empty.
QStringList currentFields();

void copyResults();
void copyHeader();

// "คัดลอกผล" and "คัดลอกหัวตาราง", for a screen's context menu.
void addCopyActions(QWidget *screen);

} // namespace ResultRow
