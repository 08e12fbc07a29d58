// The top folder's header.
#pragma once
