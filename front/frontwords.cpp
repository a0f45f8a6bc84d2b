#include "frontwords.h"

using namespace Qt::StringLiterals;

namespace Front {

QString bandWord(Band band)
{
    switch (band) {
    case Band::Normal:
        return u"ปกติ"_s;
    case Band::AtRisk:
        return u"เสี่ยง"_s;
    case Band::Problem:
        return u"มีปัญหา"_s;
    }
    return {};
}

} // namespace Front
