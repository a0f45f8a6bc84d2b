#include "words.h"

#include <QStringList>

#include <utility>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

// The cores' words are string literals, which live as long as the program.
QString fromTable(std::u16string_view word)
{
    return QString::fromRawData(reinterpret_cast<const QChar *>(word.data()), static_cast<qsizetype>(word.size()));
}

QStringList itemNumbers(const std::vector<int> &items)
{
    QStringList numbers;
    for (int item : items)
        numbers << QString::number(item);
    return numbers;
}

QStringList rowNames(const std::vector<Back::Row> &rows)
{
    QStringList names;
    for (Back::Row row : rows)
        names << Back::rowName(row);
    return names;
}

} // namespace

namespace Front {

QString bandWord(Band band)
{
    return fromTable(bandText(band));
}

} // namespace Front

namespace Back {

QString severityWord(Severity severity)
{
    return fromTable(severityText(severity));
}

QString rowName(Row row)
{
    return fromTable(rowText(row));
}

} // namespace Back

QString versionName(FormVersion version)
{
    return fromTable(versionWord(version));
}

QString frontNotice(const Front::BoxTicks &ticks)
{
    const Front::AnswerCheck check = Front::checkAnswers(ticks);
    return answerNotice(itemNumbers(check.unanswered), itemNumbers(check.doubled), u" ข้อ "_s);
}

QString backNotice(const Back::BoxTicks &ticks)
{
    const Back::AnswerCheck check = Back::checkAnswers(ticks);
    return answerNotice(rowNames(check.unanswered), rowNames(check.doubled), u": "_s);
}

QString paperRemark(const PaperTicks &ticks)
{
    const QString front = frontNotice(ticks.front);
    const QString back = anyTick(ticks.back) ? backNotice(ticks.back) : QString();
    QStringList sides;
    for (const auto &[side, notice] : {std::pair {u"ด้านหน้า "_s, front}, std::pair {u"ด้านหลัง "_s, back}})
        if (!notice.isEmpty())
            sides << side + QString(notice).replace(u'\n', u"; "_s);
    return sides.join(u" / "_s);
}
