// The top folder: including the folder below is allowed.
#include "high.h"

#include "middle/middle.h"
