#pragma once

// One child's paper as its ticks, and its results worked out from them alone,
// without a screen: the class list and its files score papers this way.

#include "backanswers.h"
#include "backscoring.h"
#include "formversion.h"
#include "frontanswers.h"
#include "frontscoring.h"

#include <optional>

struct PaperTicks {
    Front::BoxTicks front {};
    Back::BoxTicks back {};
};

bool operator==(const PaperTicks &a, const PaperTicks &b);
bool operator!=(const PaperTicks &a, const PaperTicks &b);

bool anyTick(const Front::BoxTicks &ticks);
bool anyTick(const Back::BoxTicks &ticks);

struct PaperResults {
    std::optional<Front::Result> front; // none: the front side has no tick
    std::optional<Back::Result> back; // none: the back side has no tick
};

// The scores and bands of each side that has a tick, as "แปลผล" gives them.
PaperResults interpretPaper(const PaperTicks &ticks);
