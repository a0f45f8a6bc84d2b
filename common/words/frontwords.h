#pragma once

#include "frontscoring.h"

#include <QString>

namespace Front {

// The band words as the front side shows them: "ปกติ", "เสี่ยง", "มีปัญหา".
QString bandWord(Band band);

} // namespace Front
