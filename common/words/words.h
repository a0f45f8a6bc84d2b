#pragma once

// The words the program shows for a paper, as QStrings, from the Qt-free
// cores' tables: band, severity and row words, the red notices (frontwords.h,
// backwords.h), the version's name and the class list's remark. Needs Qt
// Core only.

#include "answernotice.h"
#include "backwords.h"
#include "frontwords.h"
#include "paper.h"

#include <QString>

// "ผู้ปกครอง", "ครูประจำชั้น", "นักเรียน".
QString versionName(FormVersion version);

// The row's "หมายเหตุ" for a paper added with the finish key: the front
// notice always (an untouched front side leaves every item out), the back
// one only once a back box is ticked, each side on one line.
QString paperRemark(const PaperTicks &ticks);
