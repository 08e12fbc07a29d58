// The other half of the circle of files in this folder.
#include "middle/middle.h"
