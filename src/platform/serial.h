// The serial-port control of the call-capture window, on POSIX termios. Port n is the
// device that SerialDevices maps it to; a port with no device, or no serial line behind
// it, is an "invalid port number"; any other failure to open it is an error of its own.
#pragma once

#include <functional>
#include <stdexcept>
#include <string>

namespace platform {

class SerialError : public std::runtime_error {
public:
    // invalidPort: no usable port behind the number ("Invalid port number"); false for any
    // other failure, such as a device the user may not open or one already in use.
    explicit SerialError(const std::string& what, bool invalidPort = true)
        : std::runtime_error(what), m_invalidPort(invalidPort) {}
    bool InvalidPortNumber() const { return m_invalidPort; }

private:
    bool m_invalidPort;
};

// Which device stands behind port n: "" when there is none.
using SerialDeviceMap = std::function<std::string(int port)>;

// By default port n is /dev/ttyS(n-1). When `callBoxDevice` is set, port 1 is that
// device and no other port exists; "none" means no port exists at all.
SerialDeviceMap DefaultSerialDevices(const std::string& callBoxDevice);

class MSComm {
public:
    explicit MSComm(SerialDeviceMap devices = DefaultSerialDevices("none"));
    ~MSComm();
    MSComm(const MSComm&) = delete;
    MSComm& operator=(const MSComm&) = delete;

    void SetDevices(SerialDeviceMap devices) { m_devices = std::move(devices); }

    int CommPort = 1;
    // "baud,parity,data bits,stop bits", such as "300,n,8,1".
    std::string Settings = "9600,n,8,1";

    bool PortOpen() const { return m_fd >= 0; }
    // Opening a port that does not exist, or with settings it cannot take, throws
    // SerialError("Invalid port number" or the reason) and leaves the port closed.
    // Closing a closed port does nothing.
    void SetPortOpen(bool open);
    // Characters received and not yet read; 0 when the port is closed.
    int InBufferCount();
    // Every character waiting, removed from the buffer; "" when the port is closed.
    std::string Input();

    const std::string& DeviceName() const { return m_deviceName; }

    // The open port's descriptor, to wait on until characters arrive; -1 when the port is
    // closed or its line hung up (the device was unplugged, or the other end of a
    // pseudo-terminal closed), as such a line reads as ready for ever and never brings any.
    int ReadDescriptor() const;

private:
    void Fill();
    SerialDeviceMap m_devices;
    int m_fd = -1;
    std::string m_deviceName;
    std::string m_buffer;
};

} // namespace platform
