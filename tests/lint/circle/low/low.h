// The lowest folder reaching back up: the include circle check must refuse the circle
// high -> middle -> low -> high.
#pragma once

#include "high/high.h"
#include <string>
