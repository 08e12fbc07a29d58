// A folder between: its own files include each other too (middle -> part -> middle), which
// the check of this folder's files must refuse.
#pragma once

#include "low/low.h"
#include "part.h"
