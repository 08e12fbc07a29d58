// A pseudo-terminal whose other side stands in for a serial device (the call box): the
// program opens device() as its port, and the test sends through the terminal what the
// device would send.
#pragma once

#include <fcntl.h>
#include <stdlib.h>
#include <sys/types.h>
#include <unistd.h>

#include <string>
#include <string_view>

namespace vantreth::testing {

class PseudoTerminal {
public:
    PseudoTerminal() {
        m_master = posix_openpt(O_RDWR | O_NOCTTY);
        if (m_master < 0 || grantpt(m_master) != 0 || unlockpt(m_master) != 0)
            return;
        if (const char* name = ptsname(m_master))
            m_device = name;
    }
    ~PseudoTerminal() { Close(); }
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    // False when the system gave none: a test asserts this first.
    bool Opened() const { return m_master >= 0 && !m_device.empty(); }
    // The device the program opens.
    const std::string& device() const { return m_device; }

    // The text as the device sends it; false when not all of it went.
    bool Send(std::string_view text) {
        return write(m_master, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    }
    // Hangs up; the device's side then reads as closed.
    void Close() {
        if (m_master >= 0)
            close(m_master);
        m_master = -1;
    }

private:
    int m_master = -1;
    std::string m_device;
};

} // namespace vantreth::testing
