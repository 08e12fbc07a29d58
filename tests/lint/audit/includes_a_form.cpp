// An engine source that reaches into a window: the engine include check must refuse it.
#include "audit/night_audit.h"

#include "callacct/form50.h"
#include "records/day_totals.h"
