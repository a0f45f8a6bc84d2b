#pragma once

#include <QLoggingCategory>

// The program's own messages: what failed and where, for whoever looks after
// the PC. Shown on the console or Windows' debug output; QT_LOGGING_RULES
// ("kvt.debug=true" and so on) chooses which.
Q_DECLARE_LOGGING_CATEGORY(lcKvt)
