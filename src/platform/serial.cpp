// The call-capture serial port on POSIX termios: raw mode, non-blocking reads into a
// buffer that InBufferCount and Input drain.
#include "platform/serial.h"

#include <cctype>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <poll.h>
#include <termios.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace platform {

namespace {

constexpr const char* kInvalidPort = "Invalid port number";

struct LineSettings {
    speed_t speed = B9600;
    tcflag_t parityFlags = 0;
    tcflag_t sizeFlag = CS8;
    bool twoStopBits = false;
};

std::string TrimBlanks(const std::string& s) {
    const size_t first = s.find_first_not_of(' ');
    if (first == std::string::npos)
        return std::string();
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

std::optional<speed_t> SpeedFor(const std::string& text) {
    static const std::pair<const char*, speed_t> speeds[] = {
        {"300", B300},     {"600", B600},     {"1200", B1200},     {"1800", B1800},
        {"2400", B2400},   {"4800", B4800},   {"9600", B9600},     {"19200", B19200},
        {"38400", B38400}, {"57600", B57600}, {"115200", B115200},
    };
    for (const auto& [name, speed] : speeds)
        if (text == name)
            return speed;
    return std::nullopt;
}

// "baud,parity,data bits,stop bits", such as "300,n,8,1".
std::optional<LineSettings> ParseSettings(const std::string& settings) {
    std::vector<std::string> fields;
    size_t start = 0;
    while (true) {
        const size_t comma = settings.find(',', start);
        fields.push_back(TrimBlanks(settings.substr(start, comma - start)));
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }
    if (fields.size() != 4)
        return std::nullopt;

    LineSettings line;
    const std::optional<speed_t> speed = SpeedFor(fields[0]);
    if (!speed)
        return std::nullopt;
    line.speed = *speed;

    if (fields[1].size() != 1)
        return std::nullopt;
    switch (std::tolower(static_cast<unsigned char>(fields[1][0]))) {
    case 'n':
        line.parityFlags = 0;
        break;
    case 'e':
        line.parityFlags = PARENB;
        break;
    case 'o':
        line.parityFlags = PARENB | PARODD;
        break;
#ifdef CMSPAR
    case 'm':
        line.parityFlags = PARENB | CMSPAR | PARODD;
        break;
    case 's':
        line.parityFlags = PARENB | CMSPAR;
        break;
#endif
    default:
        return std::nullopt;
    }

    if (fields[2] == "7")
        line.sizeFlag = CS7;
    else if (fields[2] == "8")
        line.sizeFlag = CS8;
    else
        return std::nullopt;

    if (fields[3] == "1")
        line.twoStopBits = false;
    else if (fields[3] == "2")
        line.twoStopBits = true;
    else
        return std::nullopt;
    return line;
}

bool Configure(int fd, const LineSettings& line) {
    termios tio{};
    if (tcgetattr(fd, &tio) != 0)
        return false;
    cfmakeraw(&tio);
    tio.c_cflag &= ~(CSIZE | PARENB | PARODD | CSTOPB);
#ifdef CMSPAR
    tio.c_cflag &= ~CMSPAR;
#endif
    tio.c_cflag |= CLOCAL | CREAD | line.sizeFlag | line.parityFlags;
    if (line.twoStopBits)
        tio.c_cflag |= CSTOPB;
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    if (cfsetispeed(&tio, line.speed) != 0 || cfsetospeed(&tio, line.speed) != 0)
        return false;
    return tcsetattr(fd, TCSANOW, &tio) == 0;
}

} // namespace

SerialDeviceMap DefaultSerialDevices(const std::string& callBoxDevice) {
    if (callBoxDevice.empty())
        return [](int port) { return port >= 1 ? "/dev/ttyS" + std::to_string(port - 1) : std::string(); };
    if (callBoxDevice == "none")
        return [](int) { return std::string(); };
    return [callBoxDevice](int port) { return port == 1 ? callBoxDevice : std::string(); };
}

MSComm::MSComm(SerialDeviceMap devices) : m_devices(std::move(devices)) {}

MSComm::~MSComm() {
    SetPortOpen(false);
}

void MSComm::SetPortOpen(bool open) {
    if (!open) {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
        m_buffer.clear();
        return;
    }
    if (m_fd >= 0)
        throw SerialError("Port already open", false);

    const std::string device = m_devices ? m_devices(CommPort) : std::string();
    m_deviceName = device; // kept after a failure and after closing, for messages
    if (device.empty())
        throw SerialError(kInvalidPort);
    // The settings are checked before the device is touched, so a bad string never
    // toggles the line.
    const std::optional<LineSettings> line = ParseSettings(Settings);
    if (!line)
        throw SerialError(kInvalidPort);

    int fd;
    do
        fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        // No device, or no hardware behind it, is no such port; any other failure (no
        // permission, in use, not a device file) is an error of its own.
        const int error = errno;
        if (error == ENOENT || error == ENXIO || error == ENODEV || error == EIO)
            throw SerialError(kInvalidPort);
        throw SerialError(std::strerror(error), false);
    }
    // A port with no hardware behind it fails here with EIO: still "no such port".
    if (!Configure(fd, *line)) {
        ::close(fd);
        throw SerialError(kInvalidPort);
    }
    m_fd = fd;
    m_buffer.clear();
}

void MSComm::Fill() {
    if (m_fd < 0)
        return;
    char chunk[512];
    while (true) {
        const ssize_t n = ::read(m_fd, chunk, sizeof chunk);
        if (n > 0) {
            m_buffer.append(chunk, static_cast<size_t>(n));
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        // Nothing waiting (EAGAIN or 0), or the line went away (EIO): what was read stays.
        return;
    }
}

int MSComm::ReadDescriptor() const {
    if (m_fd < 0)
        return -1;
    pollfd line{m_fd, POLLIN, 0};
    int ready;
    do
        ready = ::poll(&line, 1, 0);
    while (ready < 0 && errno == EINTR);
    if (ready > 0 && (line.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0)
        return -1;
    return m_fd;
}

int MSComm::InBufferCount() {
    if (m_fd < 0)
        return 0;
    Fill();
    return static_cast<int>(m_buffer.size());
}

std::string MSComm::Input() {
    if (m_fd < 0)
        return std::string();
    Fill();
    return std::exchange(m_buffer, std::string());
}

} // namespace platform
