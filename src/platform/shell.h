// The desktop's "open" operation, used to start the mail program on a mailto: link.
#pragma once

#include <string>
#include <vector>

namespace platform {

class Shell {
public:
    virtual ~Shell() = default;
    // Opens the target with the desktop's default program; failures are ignored.
    virtual void Open(const std::string& target) = 0;
};

// Remembers what was opened (tests, the scenario runner, headless runs).
class RecordingShell final : public Shell {
public:
    void Open(const std::string& target) override { m_opened.push_back(target); }
    const std::vector<std::string>& opened() const { return m_opened; }

private:
    std::vector<std::string> m_opened;
};

} // namespace platform
