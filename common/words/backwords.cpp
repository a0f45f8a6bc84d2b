#include "backwords.h"

#include "answernotice.h"
#include "wordtable.h"

#include <QStringList>

#include <vector>

using namespace Qt::StringLiterals;

namespace {

QStringList rowNames(const std::vector<Back::Row> &rows)
{
    QStringList names;
    for (Back::Row row : rows)
        names << Back::rowName(row);
    return names;
}

} // namespace

QString Back::severityWord(Severity severity)
{
    return fromWordTable(severityText(severity));
}

QString Back::rowName(Row row)
{
    return fromWordTable(rowText(row));
}

QString backNotice(const Back::BoxTicks &ticks)
{
    const Back::AnswerCheck check = Back::checkAnswers(ticks);
    return answerNotice(rowNames(check.unanswered), rowNames(check.doubled), u": "_s);
}
