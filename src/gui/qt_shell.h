// The desktop's "open" operation (a mailto: link starts the mail program).
#pragma once

#include "platform/shell.h"

namespace vantreth::gui {

class QtShell final : public platform::Shell {
public:
    void Open(const std::string& target) override;
};

} // namespace vantreth::gui
