#include "childrecord.h"

#include "backwords.h"
#include "frontwords.h"

using namespace Qt::StringLiterals;

QStringList resultHeadings()
{
    return {
        u"คะแนนด้านที่ 1"_s,
        u"แปลผลด้านที่ 1"_s,
        u"คะแนนด้านที่ 2"_s,
        u"แปลผลด้านที่ 2"_s,
        u"คะแนนด้านที่ 3"_s,
        u"แปลผลด้านที่ 3"_s,
        u"คะแนนด้านที่ 4"_s,
        u"แปลผลด้านที่ 4"_s,
        u"รวมคะแนนทั้ง 4 ด้าน"_s,
        u"แปลผลรวม 4 ด้าน"_s,
        u"คะแนนสัมพันธภาพทางสังคม"_s,
        u"แปลผลสัมพันธภาพทางสังคม"_s,
        u"คะแนนด้านหลัง"_s,
        u"ระดับความรุนแรง"_s,
    };
}

QStringList resultFields(const std::optional<Front::Result> &front, const std::optional<Back::Result> &back)
{
    QStringList fields;
    fields.reserve(kResultFieldCount);
    for (int scale = 0; scale < Front::kScaleCount; ++scale) {
        if (!front) {
            fields << QString() << QString();
            continue;
        }
        const auto i = static_cast<std::size_t>(scale);
        fields << QString::number(front->scores[i])
               << (front->bands[i] ? Front::bandWord(*front->bands[i]) : QString());
    }
    if (back)
        fields << QString::number(back->score) << (back->severity ? Back::severityWord(*back->severity) : QString());
    else
        fields << QString() << QString();
    return fields;
}

QString resultField(const std::optional<Front::Result> &front, const std::optional<Back::Result> &back, int field)
{
    const bool word = field % 2 == 1;
    const int result = field / 2;
    if (result < Front::kScaleCount) {
        if (!front || field < 0)
            return {};
        const auto i = static_cast<std::size_t>(result);
        if (!word)
            return QString::number(front->scores[i]);
        return front->bands[i] ? Front::bandWord(*front->bands[i]) : QString();
    }
    if (!back || field >= kResultFieldCount)
        return {};
    if (!word)
        return QString::number(back->score);
    return back->severity ? Back::severityWord(*back->severity) : QString();
}

QString tabLine(const QStringList &fields)
{
    QStringList cells;
    cells.reserve(fields.size());
    for (QString field : fields) {
        field.replace(u'\t', u' ').replace(u'\r', u' ').replace(u'\n', u' ');
        cells << field;
    }
    return cells.join(u'\t') + u'\n';
}
