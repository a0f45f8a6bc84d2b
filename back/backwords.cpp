#include "backwords.h"

using namespace Qt::StringLiterals;

namespace Back {

QString severityWord(Severity severity)
{
    switch (severity) {
    case Severity::Slight:
        return u"ไม่รุนแรง/รุนแรงเล็กน้อย"_s;
    case Severity::Moderate:
        return u"รุนแรงปานกลาง"_s;
    case Severity::Severe:
        return u"รุนแรงมาก"_s;
    }
    return {};
}

QString rowName(Row row)
{
    switch (row) {
    case Row::Difficulties:
        return u"ปัญหาโดยรวม"_s;
    case Row::Duration:
        return u"ระยะเวลาของปัญหา"_s;
    case Row::Upset:
        return u"ความไม่สบายใจของเด็ก"_s;
    case Row::HomeLife:
        return u"ความเป็นอยู่ที่บ้าน"_s;
    case Row::Friendships:
        return u"การคบเพื่อน"_s;
    case Row::ClassroomLearning:
        return u"การเรียนในห้องเรียน"_s;
    case Row::LeisureActivities:
        return u"กิจกรรมยามว่าง"_s;
    case Row::Burden:
        return u"ความยุ่งยากของครอบครัว"_s;
    }
    return {};
}

} // namespace Back
