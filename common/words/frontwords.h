#pragma once

#include "frontanswers.h"
#include "frontscoring.h"

#include <QString>

namespace Front {

// The band words as the front side shows them: "ปกติ", "เสี่ยง", "มีปัญหา".
QString bandWord(Band band);

} // namespace Front

// The front side's red notice for these ticks: items left out, then items
// with more than one tick; empty for a complete side.
QString frontNotice(const Front::BoxTicks &ticks);
