#include "frontwords.h"

#include "answernotice.h"
#include "wordtable.h"

#include <QStringList>

#include <vector>

using namespace Qt::StringLiterals;

namespace {

QStringList itemNumbers(const std::vector<int> &items)
{
    QStringList numbers;
    for (int item : items)
        numbers << QString::number(item);
    return numbers;
}

} // namespace

QString Front::bandWord(Band band)
{
    return fromWordTable(bandText(band));
}

QString frontNotice(const Front::BoxTicks &ticks)
{
    const Front::AnswerCheck check = Front::checkAnswers(ticks);
    return answerNotice(itemNumbers(check.unanswered), itemNumbers(check.doubled), u" ข้อ "_s);
}
