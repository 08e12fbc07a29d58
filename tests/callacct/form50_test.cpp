// The call-capture window: its timer posts a record once 58 characters are in, keeps a
// partial record across a reload, does not take a failed record again, and (through a
// pseudo-terminal standing in for the call box) searches the ports from port 1.
#include "callacct/call_maker.h"
#include "callacct/form50.h"
#include "calls/call_capture.h"
#include "platform/engine.h"
#include "platform/text.h"
#include "records/day_totals.h"
#include "records/stay_ledger.h"
#include "support/app_fixture.h"
#include "support/pseudo_terminal.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <iostream>
#include <map>
#include <set>
#include <thread>
#include <vector>

namespace vantreth {
namespace {

using testing::Call;
using testing::Guest;

class Form50Test : public testing::AppFixture {
protected:
    Form50Test() {
        SetNow(12, 6, 2026, 21, 15, 0);
        app().gShift = "B";
        app().gClerk = "JD";
        records::WriteGuest(app().data(), records::kGuestFile, 1, smith);
    }

    void LoadCapture() {
        app().Dispatch([&] { app().Load(Form<Form50>()); });
    }
    void Tick() { Form<Form50>().Timer1.Fire(); }
    std::string Log() const { return ReadBytes("phonelog/12626"); }
    std::vector<records::StayLedgerLine> Ledger() {
        const auto file = records::StayLedgerPath(app().data(), smith);
        return platform::FileExists(file) ? records::ReadStayLedger(file)
                                          : std::vector<records::StayLedgerLine>{};
    }

    records::GuestRecord smith = Guest("101", "SMITH", "JOHN", {.ArrivalDate = "12/5/26"});
};

TEST_F(Form50Test, TickPostsOnlyOnceFiftyEightCharactersAreIn) {
    LoadCapture();
    const records::CallRecord call = Call(" 101", "  1.25", "21:14", "555-123-4567", "11/30");
    app().gCallBuffer = call.text.substr(0, 57);
    Tick();
    EXPECT_EQ(Log(), "") << "57 characters are not a record";
    EXPECT_EQ(app().gCallBuffer.size(), 57u);

    app().gCallBuffer += call.text.substr(57);
    Tick();
    EXPECT_EQ(Log(), "\"" + call.text + "\"\r\n") << "logged under the business date, not the record's";
    EXPECT_EQ(app().gCallBuffer, "");
    const std::vector<records::StayLedgerLine> ledger = Ledger();
    ASSERT_EQ(ledger.size(), 1u);
    EXPECT_EQ(ledger[0].Shift, "B");
    EXPECT_EQ(ledger[0].PostDate, "12/6/26");
    EXPECT_EQ(ledger[0].Description, "21:14  555-123-4567");
    EXPECT_EQ(records::ReadDayDetail(app().data(), "12/6/26").at(0).Clerk, "JD");
    EXPECT_EQ(records::ReadDayTotals(app().data(), "12/6/26").PhoneCharges, 1.25f);
}

TEST_F(Form50Test, PartialRecordOutlivesUnloadAndReload) {
    LoadCapture();
    const records::CallRecord call = Call(" 101", "  1.25");
    app().gCallBuffer = call.text.substr(0, 40);
    app().Dispatch([&] { app().Unload(Form<Form50>()); });
    LoadCapture();
    EXPECT_EQ(app().gCallBuffer, call.text.substr(0, 40));
    app().gCallBuffer += call.text.substr(40);
    Tick();
    EXPECT_EQ(Ledger().size(), 1u);
}

// A tick whose posting fails is undone whole and its records stay in the buffer: the clerk
// sees the error once, later ticks retry quietly, and once the fault is gone every record is
// logged and charged exactly once.
TEST_F(Form50Test, FailedPostingIsRetriedQuietlyUntilItSucceeds) {
    LoadCapture();
    std::filesystem::remove_all(DataFile("detail"));
    const records::CallRecord guestCall = Call(" 101", "  1.25");
    const records::CallRecord deskCall = Call("1000", "  0.50");
    app().gCallBuffer = guestCall.text + deskCall.text;
    dialogs().Answer(platform::vbOK);
    Tick();
    EXPECT_EQ(LastBox().title, "File Error");
    EXPECT_EQ(app().gCallBuffer, guestCall.text + deskCall.text);
    EXPECT_EQ(Log(), "");
    EXPECT_EQ(Ledger().size(), 0u);

    Tick();
    Tick();
    EXPECT_EQ(dialogs().shown().size(), 1u);
    std::filesystem::create_directory(DataFile("detail"));
    Tick();
    EXPECT_EQ(dialogs().shown().size(), 1u);
    EXPECT_EQ(Log(), "\"" + guestCall.text + "\"\r\n\"" + deskCall.text + "\"\r\n");
    EXPECT_EQ(Ledger().size(), 1u);
    EXPECT_EQ(app().gCallBuffer, "");
}

// The disk is full when the step's changes are saved: every write of the journal fails.
class FullDiskAtCommit final : public platform::FileFaults {
public:
    explicit FullDiskAtCommit(platform::Engine& engine) : m_engine(engine) { engine.SetFaults(this); }
    ~FullDiskAtCommit() override { m_engine.SetFaults(nullptr); }
    FullDiskAtCommit(const FullDiskAtCommit&) = delete;
    FullDiskAtCommit& operator=(const FullDiskAtCommit&) = delete;
    Fault BeforeChange(const std::filesystem::path&, size_t) override { return {}; }
    Fault Before(const Change& change) override {
        if (change.op != Op::Stage && change.file.filename() == "journal")
            return {Kind::Fail, 0};
        return {};
    }

private:
    platform::Engine& m_engine;
};

// The posting reaches its commit and the commit fails: the calls stay in the buffer, behind
// nothing and before what arrives next, and are logged and charged once the disk has room.
TEST_F(Form50Test, CallsWhosePostingIsNotSavedStayInTheBuffer) {
    LoadCapture();
    const records::CallRecord first = Call(" 101", "  1.25");
    const records::CallRecord second = Call(" 101", "  2.50");
    app().gCallBuffer = first.text + second.text.substr(0, 20);
    {
        FullDiskAtCommit full(app().engine());
        dialogs().Answer(platform::vbOK);
        Tick();
        EXPECT_EQ(LastBox().title, "File Error");
        EXPECT_EQ(app().gCallBuffer, first.text + second.text.substr(0, 20))
            << "back before the partial record";
        app().gCallBuffer += second.text.substr(20);
        Tick();
        EXPECT_EQ(app().gCallBuffer, first.text + second.text);
    }
    EXPECT_EQ(Log(), "");
    Tick();
    EXPECT_EQ(Log(), "\"" + first.text + "\"\r\n\"" + second.text + "\"\r\n");
    EXPECT_EQ(Ledger().size(), 2u);
    EXPECT_EQ(app().gCallBuffer, "");
}

// Changes the folder's engine makes fail: those of the given kinds to the files named (any
// file when none is); with `afterTheRecord`, only once a step's record was written to one of them.
class Failing final : public platform::FileFaults {
public:
    Failing(platform::Engine& engine, std::set<std::string> files, std::map<Op, Kind> ops, int error,
            bool afterTheRecord)
        : m_engine(engine), m_files(std::move(files)), m_ops(std::move(ops)), m_error(error),
          m_armed(!afterTheRecord) {
        engine.SetFaults(this);
    }
    ~Failing() override { m_engine.SetFaults(nullptr); }
    Failing(const Failing&) = delete;
    Failing& operator=(const Failing&) = delete;
    Fault BeforeChange(const std::filesystem::path&, size_t) override { return {}; }
    Fault Before(const Change& change) override {
        if (!m_files.empty() && m_files.count(change.file.filename().string()) == 0)
            return {};
        const auto op = m_ops.find(change.op);
        if (!m_armed || op == m_ops.end()) {
            // The step's record (not the journal's header, nor one of its slots).
            m_armed = m_armed || (change.op == Op::Write && change.bytes != platform::kJournalHeaderBytes &&
                                  change.bytes != platform::kJournalSlotBytes);
            return {};
        }
        return {op->second, m_error};
    }

private:
    platform::Engine& m_engine;
    std::set<std::string> m_files;
    std::map<Op, Kind> m_ops;
    int m_error;
    bool m_armed;
};

// A posting whose saving ends in doubt (the engine refuses every step after it until a
// restart): its calls and those the box sends after it are kept in the folder, and the restart
// logs and charges each once, whether the doubtful step was saved or not. When the disk keeps
// nothing, the clerk is shown the calls, by their details, before the program ends.
TEST_F(Form50Test, CallsWaitingWhenAPostingEndsInDoubtAreLoggedAndChargedOnceAfterARestart) {
    using Op = platform::FileFaults::Op;
    using Kind = platform::FileFaults::Kind;
    struct Case {
        const char* what;
        std::set<std::string> files; // whose changes fail; empty: every file
        std::map<Op, Kind> ops;
        int error;
        bool afterTheRecord;
        bool lost; // the disk keeps no call either (a folder in the way): the clerk is told instead
    };
    const Case cases[] = {
        {"the record written, its flush failing",
         {"journal"},
         {{Op::Flush, Kind::Fail}, {Op::Truncate, Kind::Fail}},
         EIO,
         true,
         false},
        {"the record cut short",
         {"journal"},
         {{Op::Write, Kind::Partial}, {Op::Truncate, Kind::Fail}},
         EIO,
         false,
         false},
        {"a full disk", {}, {{Op::Write, Kind::Fail}, {Op::Truncate, Kind::Fail}}, ENOSPC, false, true},
    };
    dialogs().AnswerAlways("File Error", platform::vbOK);
    dialogs().AnswerAlways("Call Accounting", platform::vbOK);
    const auto charges = [this] { return records::ReadDayTotals(app().data(), "12/6/26").PhoneCharges; };
    int number = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<records::CallRecord> calls;
        for (const char* amount : {"  1.25", "  2.50", "  3.75"})
            calls.push_back(Call(" 101", amount, "21:14", "555-000-" + std::to_string(1000 + ++number)));
        const float before = charges();
        const std::filesystem::path kept = DataFile(std::string(kCallsReceivedFile));
        LoadCapture();
        if (c.lost)
            std::filesystem::create_directories(kept / "x");
        {
            Failing faults(app().engine(), c.files, c.ops, c.error, c.afterTheRecord);
            app().gCallBuffer = calls[0].text;
            Tick();
            // In doubt once the record was written; a record that never reached the journal whole
            // was not saved, and the engine refuses nothing more for it.
            EXPECT_EQ(app().engine().state(),
                      c.afterTheRecord ? platform::Engine::State::Unsure : platform::Engine::State::Open);
            app().gCallBuffer += calls[1].text + calls[2].text;
            Tick();
            dialogs().ClearShown();
            app().Dispatch([&] { StopCallCapture(app()); }); // the program ends
            std::vector<std::string> told;
            for (const auto& shown : dialogs().shown())
                if (shown.title == "Call Accounting")
                    told.push_back(shown.prompt);
            ASSERT_EQ(told.size(), c.lost ? 1u : 0u);
            for (const records::CallRecord& call : calls) {
                if (!c.lost)
                    continue;
                EXPECT_NE(told[0].find("room 101, 12/06 21:14, " + platform::Trim(call.Number()) +
                                       ", amount \"" + platform::Trim(call.AmountField()) + "\""),
                          std::string::npos)
                    << told[0];
            }
        }
        if (c.lost)
            std::filesystem::remove_all(kept);
        for (int restart = 0; restart < 2; ++restart) {
            Restart();
            LoadCapture();
            EXPECT_EQ(Form<Form50>().Timer1.Resting(), c.lost || restart > 0)
                << "the calls left wake the timer, after restart " << restart;
            Tick();
            Tick();
            EXPECT_FALSE(std::filesystem::exists(kept)) << "cleared once every call kept is posted";
            const std::string log = Log();
            for (const records::CallRecord& call : calls) {
                const std::string line = "\"" + call.text + "\"\r\n";
                size_t count = 0;
                for (size_t at = log.find(line); at != std::string::npos; at = log.find(line, at + 1))
                    ++count;
                EXPECT_EQ(count, c.lost ? 0u : 1u) << call.text << " after restart " << restart;
            }
            EXPECT_EQ(charges() - before, c.lost ? 0.0f : 7.5f) << "after restart " << restart;
        }
    }
}

// Port 3 is a pseudo-terminal; ports 1 and 2 do not exist.
class Form50PortTest : public Form50Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_pty.Opened());
        const std::string device = m_pty.device();
        Form<Form50>().MSComm1.SetDevices([this, device](int port) {
            asked.push_back(port);
            return port == 3 ? device : std::string();
        });
    }
    void TearDown() override { Form<Form50>().MSComm1.SetPortOpen(false); }

    void Send(const std::string& text) { ASSERT_TRUE(m_pty.Send(text)); }
    // Lets time pass in 10 ms polls until the condition holds (at most 2 seconds).
    template <class Done> bool PollUntil(Done done) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
        while (!done() && std::chrono::steady_clock::now() < deadline) {
            app().TimePassed(10);
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return done();
    }

    std::vector<int> asked;
    std::string PtyDevice() const { return m_pty.device(); }

private:
    testing::PseudoTerminal m_pty;
};

TEST_F(Form50PortTest, CallFromTheBoxIsPostedAndAReloadSearchesFromPortOne) {
    LoadCapture();
    EXPECT_EQ(asked, (std::vector<int>{1, 2, 3}));
    ASSERT_TRUE(Form<Form50>().MSComm1.PortOpen());

    const records::CallRecord call = Call(" 101", "  1.25");
    Send(call.text.substr(0, 30));
    ASSERT_TRUE(PollUntil([&] { return app().gCallBuffer.size() == 30; })) << app().gCallBuffer;
    Send(call.text.substr(30));
    ASSERT_TRUE(PollUntil([&] { return !Log().empty(); }));
    EXPECT_EQ(Log(), "\"" + call.text + "\"\r\n");
    EXPECT_EQ(Ledger().size(), 1u);

    // What a closing window does with the port, then the front desk's next load.
    app().Dispatch([&] {
        Form<Form50>().MSComm1.SetPortOpen(false);
        app().Unload(Form<Form50>());
    });
    asked.clear();
    LoadCapture();
    EXPECT_EQ(asked, (std::vector<int>{1, 2, 3}));
    EXPECT_TRUE(Form<Form50>().MSComm1.PortOpen());
}

// Only "no such port" moves the search on: a device that cannot be opened for any other
// reason (here a folder in place of the device) ends it with no port open.
TEST_F(Form50PortTest, AnErrorOtherThanNoSuchPortEndsTheSearch) {
    const std::string folder = DataFile("detail").string();
    const std::string pty = PtyDevice();
    struct Case {
        const char* name;
        std::vector<std::string> devices; // ports 1, 2, 3
        std::vector<int> asked;
        bool open;
    };
    const Case cases[] = {
        {"no device, not a terminal", {"/nonexistent/ttyVantreth", "/dev/null", pty}, {1, 2, 3}, true},
        {"a folder on port 2", {"", folder, pty}, {1, 2}, false},
        {"a folder on port 1", {folder, "", pty}, {1}, false},
    };
    for (const Case& c : cases) {
        Form<Form50>().MSComm1.SetDevices([this, devices = c.devices](int port) {
            asked.push_back(port);
            return port >= 1 && port <= 3 ? devices[port - 1] : std::string();
        });
        asked.clear();
        app().Dispatch([&] { app().Unload(Form<Form50>()); });
        LoadCapture();
        EXPECT_EQ(asked, c.asked) << c.name;
        EXPECT_EQ(Form<Form50>().MSComm1.PortOpen(), c.open) << c.name;
        EXPECT_TRUE(dialogs().shown().empty()) << c.name;
    }
}

// The box sends a record one character short: after a second of silence the fragment is
// dropped, so the next call is read whole instead of every later call shifting by one.
TEST_F(Form50PortTest, ShortRecordIsDroppedAfterSilenceAndLaterCallsAreRead) {
    LoadCapture();
    ASSERT_TRUE(Form<Form50>().MSComm1.PortOpen());
    const records::CallRecord shortCall = Call(" 101", "  7.77");
    Send(shortCall.text.substr(0, 57));
    ASSERT_TRUE(PollUntil([&] { return app().gCallBuffer.size() == 57; }));
    for (int poll = 0; poll < kCallQuietPolls; ++poll)
        app().TimePassed(10);
    EXPECT_EQ(Log(), "");

    const records::CallRecord call = Call("101 ", "  1.25");
    Send(call.text);
    ASSERT_TRUE(PollUntil([&] { return !Log().empty(); }));
    EXPECT_EQ(Log(), "\"" + call.text + "\"\r\n");
    ASSERT_EQ(Ledger().size(), 1u);
    EXPECT_EQ(Ledger()[0].Amount, 1.25f);
    EXPECT_EQ(app().gCallBuffer, "");
}

// A call the box sends as "1e39" puts up the "Call Accounting" box; while the clerk leaves it
// up, three calls arrive 1.6 seconds apart. Each waits whole, and after the box every one of
// them is logged and charged, in order.
TEST_F(Form50PortTest, CallsArrivingSecondsApartUnderABoxAreAllKept) {
    LoadCapture();
    ASSERT_TRUE(Form<Form50>().MSComm1.PortOpen());
    const std::vector<records::CallRecord> calls = {Call(" 101", "  1.10"), Call(" 101", "  2.20"),
                                                    Call(" 101", "  3.30")};
    bool underBox = false;
    dialogs().on_shown = [&](const platform::ScriptedDialogs::Shown& box) {
        if (box.title != "Call Accounting" || underBox)
            return;
        underBox = true;
        for (const records::CallRecord& call : calls) {
            Send(call.text);
            ASSERT_TRUE(PollUntil([&] {
                return app().gCallBuffer.size() % records::CallRecord::kLength == 0 &&
                       !app().gCallBuffer.empty();
            }));
            for (int poll = 0; poll < 160; ++poll)
                app().TimePassed(10);
        }
        EXPECT_EQ(app().gCallBuffer.size(), 3 * records::CallRecord::kLength);
    };
    dialogs().Answer(platform::vbOK);
    const records::CallRecord refused = Call(" 101", "  1e39");
    Send(refused.text);
    ASSERT_TRUE(PollUntil([&] { return Ledger().size() == 3; }));
    EXPECT_TRUE(underBox);
    std::string log = "\"" + refused.text + "\"\r\n";
    for (const records::CallRecord& call : calls)
        log += "\"" + call.text + "\"\r\n";
    EXPECT_EQ(Log(), log);
    const std::vector<records::StayLedgerLine> ledger = Ledger();
    for (size_t i = 0; i < calls.size(); ++i)
        EXPECT_EQ(ledger[i].Amount, calls[i].Amount()) << i;
}

// After a quiet second the next call arrives a few characters at a time, with pauses
// shorter than the silence between the pieces: the pieces join into one record, which is
// charged.
TEST_F(Form50PortTest, RecordInPiecesAfterSilenceIsStillCharged) {
    LoadCapture();
    ASSERT_TRUE(Form<Form50>().MSComm1.PortOpen());
    for (int poll = 0; poll <= kCallQuietPolls; ++poll)
        app().TimePassed(10);

    const records::CallRecord call = Call(" 101", "  2.75");
    for (std::size_t start = 0; start < call.text.size(); start += 10) {
        Send(call.text.substr(start, 10));
        const std::size_t expected = std::min(start + 10, call.text.size()) % records::CallRecord::kLength;
        ASSERT_TRUE(PollUntil([&] { return app().gCallBuffer.size() == expected; }))
            << "after the piece at " << start << ": \"" << app().gCallBuffer << "\"";
        for (int poll = 0; poll < 5; ++poll)
            app().TimePassed(10);
    }
    ASSERT_TRUE(PollUntil([&] { return !Log().empty(); }));
    EXPECT_EQ(Log(), "\"" + call.text + "\"\r\n");
    ASSERT_EQ(Ledger().size(), 1u);
    EXPECT_EQ(Ledger()[0].Amount, 2.75f);
}

} // namespace
} // namespace vantreth
