#pragma once

#include "backanswers.h"
#include "backscoring.h"

#include <QString>

namespace Back {

// The severity words as the back side shows them.
QString severityWord(Severity severity);

// The short name of each row, as the notice names it.
QString rowName(Row row);

} // namespace Back

// The back side's red notice for these ticks, by the rows' short names.
QString backNotice(const Back::BoxTicks &ticks);
