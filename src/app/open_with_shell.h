// Hands a document, web address or "mailto:" link to the desktop's open operation.
#pragma once

#include "app/app.h"

#include <string>

namespace vantreth {

// Failures are ignored: the clerk simply sees nothing open.
void OpenWithShell(App& app, const std::string& target);

} // namespace vantreth
