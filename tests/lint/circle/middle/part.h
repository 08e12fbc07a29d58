// The header of the other half of the circle of files in this folder.
#pragma once
