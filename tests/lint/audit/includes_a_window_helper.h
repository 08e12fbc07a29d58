// An engine header that includes a window's header from its own folder, by the short name:
// the engine include check must refuse it.
#pragma once

#include "cash_entries.h"
#include "cash_in_form.h"
