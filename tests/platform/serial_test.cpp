// The serial port against a pseudo-terminal: opening, settings, reading what arrives.
#include "platform/serial.h"

#include "support/pseudo_terminal.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

namespace platform {
namespace {

TEST(SerialDevicesTest, MapsPortsToDevices) {
    struct Case {
        std::string callBox;
        int port;
        std::string device;
    };
    const Case cases[] = {
        {"", 1, "/dev/ttyS0"},   {"", 2, "/dev/ttyS1"},   {"", 0, ""},
        {"none", 1, ""},         {"none", 2, ""},         {"/dev/ttyUSB0", 1, "/dev/ttyUSB0"},
        {"/dev/ttyUSB0", 2, ""}, {"/dev/ttyUSB0", 0, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DefaultSerialDevices(c.callBox)(c.port), c.device)
            << "call box \"" << c.callBox << "\", port " << c.port;
}

// A pseudo-terminal whose slave side stands in for the call box's port.
class SerialPtyTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_pty.Opened());
        slavePath = m_pty.device();
    }

    void Send(const std::string& text) { ASSERT_TRUE(m_pty.Send(text)); }

    // Waits (at most 2 seconds) until the port has `count` characters waiting.
    static int WaitForCount(MSComm& port, int count) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
        int have = port.InBufferCount();
        while (have < count && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            have = port.InBufferCount();
        }
        return have;
    }

    std::string slavePath;

private:
    vantreth::testing::PseudoTerminal m_pty;
};

TEST_F(SerialPtyTest, ReceivesWhatTheCallBoxSends) {
    MSComm port(DefaultSerialDevices(slavePath));
    port.Settings = "300,n,8,1";
    port.SetPortOpen(true);
    ASSERT_TRUE(port.PortOpen());
    EXPECT_EQ(port.DeviceName(), slavePath);
    EXPECT_EQ(port.InBufferCount(), 0);
    EXPECT_EQ(port.Input(), "");

    // Raw mode: carriage returns and control characters arrive untouched.
    const std::string record = "101 05551234 \r\n\x03";
    Send(record);
    EXPECT_EQ(WaitForCount(port, static_cast<int>(record.size())), static_cast<int>(record.size()));
    EXPECT_EQ(port.Input(), record);
    EXPECT_EQ(port.InBufferCount(), 0);
    EXPECT_EQ(port.Input(), "");

    Send("more");
    EXPECT_EQ(WaitForCount(port, 4), 4);
    EXPECT_EQ(WaitForCount(port, 4), 4); // counting does not consume
    EXPECT_EQ(port.Input(), "more");
}

TEST_F(SerialPtyTest, AcceptsEachSettingForm) {
    const char* settings[] = {"9600,n,8,1",         "300,e,7,1",  "1200,O,7,2", "115200,n,8,2",
                              " 2400 , n , 8 , 1 ", "4800,m,8,1", "19200,s,7,1"};
    for (const char* s : settings) {
        MSComm port(DefaultSerialDevices(slavePath));
        port.Settings = s;
        EXPECT_NO_THROW(port.SetPortOpen(true)) << s;
        EXPECT_TRUE(port.PortOpen()) << s;
    }
}

TEST_F(SerialPtyTest, BadSettingsAreAnInvalidPortAndLeaveItClosed) {
    const char* settings[] = {"",           "9600",       "9600,n,8",   "9600,n,8,1,1", "1234,n,8,1",
                              "9600,x,8,1", "9600,n,6,1", "9600,n,8,3", "9600,nn,8,1",  "fast,n,8,1"};
    for (const char* s : settings) {
        MSComm port(DefaultSerialDevices(slavePath));
        port.Settings = s;
        try {
            port.SetPortOpen(true);
            ADD_FAILURE() << "opened with settings \"" << s << "\"";
        } catch (const SerialError& e) {
            EXPECT_STREQ(e.what(), "Invalid port number") << s;
        }
        EXPECT_FALSE(port.PortOpen()) << s;
    }
}

TEST_F(SerialPtyTest, OpeningAnOpenPortFailsAndKeepsItOpen) {
    MSComm port(DefaultSerialDevices(slavePath));
    port.SetPortOpen(true);
    try {
        port.SetPortOpen(true);
        ADD_FAILURE() << "second open succeeded";
    } catch (const SerialError& e) {
        EXPECT_STREQ(e.what(), "Port already open");
    }
    EXPECT_TRUE(port.PortOpen());
}

TEST_F(SerialPtyTest, ClosingDropsWaitingInputAndPortCanReopen) {
    MSComm port(DefaultSerialDevices(slavePath));
    port.SetPortOpen(true);
    Send("abc");
    ASSERT_EQ(WaitForCount(port, 3), 3);
    port.SetPortOpen(false);
    EXPECT_FALSE(port.PortOpen());
    EXPECT_EQ(port.InBufferCount(), 0);
    EXPECT_EQ(port.Input(), "");
    port.SetPortOpen(false); // closing a closed port does nothing

    port.SetPortOpen(true);
    EXPECT_EQ(port.Input(), "");
    Send("xyz");
    EXPECT_EQ(WaitForCount(port, 3), 3);
    EXPECT_EQ(port.Input(), "xyz");
}

TEST_F(SerialPtyTest, OnlyPortOneIsTheCallBox) {
    MSComm port(DefaultSerialDevices(slavePath));
    port.CommPort = 2;
    EXPECT_THROW(port.SetPortOpen(true), SerialError);
    EXPECT_FALSE(port.PortOpen());
}

TEST(SerialTest, PortWithoutUsableDeviceIsInvalid) {
    struct Case {
        const char* name;
        SerialDeviceMap devices;
    };
    const Case cases[] = {
        {"no port configured", DefaultSerialDevices("none")},
        {"missing device", DefaultSerialDevices("/nonexistent/ttyVantreth")},
        {"not a terminal", DefaultSerialDevices("/dev/null")},
        {"no map", SerialDeviceMap()},
    };
    for (const Case& c : cases) {
        MSComm port(c.devices);
        try {
            port.SetPortOpen(true);
            ADD_FAILURE() << c.name << ": opened";
        } catch (const SerialError& e) {
            EXPECT_STREQ(e.what(), "Invalid port number") << c.name;
        }
        EXPECT_FALSE(port.PortOpen()) << c.name;
        EXPECT_EQ(port.InBufferCount(), 0) << c.name;
        EXPECT_EQ(port.Input(), "") << c.name;
    }
}

} // namespace
} // namespace platform
