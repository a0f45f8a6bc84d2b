#include "log.h"

Q_LOGGING_CATEGORY(lcKvt, "kvt")
