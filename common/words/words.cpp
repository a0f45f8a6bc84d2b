#include "words.h"

#include "wordtable.h"

#include <QStringList>

#include <utility>

using namespace Qt::StringLiterals;

QString versionName(FormVersion version)
{
    return fromWordTable(versionWord(version));
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
