#include "form1.h"
#include "platform/engine.h"

#include "app/call_capture_service.h"
#include "platform/text.h"
#include "records/arrivals.h"
#include "records/filenames.h"
#include "records/guest_record.h"
#include "records/room_record.h"
#include "records/settings_files.h"
#include "records/shift_record.h"

namespace vantreth {

using namespace platform;

RoomBoard CountRoomBoard(const DataFolder& data) {
    RoomBoard board;
    // The rooms file in one read rather than one per room.
    const RandomFile file(data.File(records::kRoomsFile), records::RoomRecord::kLength);
    const long count = file.RecordCount();
    const std::string bytes =
        count > 0 ? file.Get(1, static_cast<int>(count * records::RoomRecord::kLength)) : "";
    for (long n = 0; n < count; ++n) {
        const records::RoomRecord room = records::RoomRecord::Decode(std::string_view(bytes).substr(
            static_cast<size_t>(n) * records::RoomRecord::kLength, records::RoomRecord::kLength));
        if (room.Service == "O")
            board.occupied++;
        if (room.Clean == "N" || room.Service == "X" || room.Service == "O")
            continue;
        board.available++;
        // The type lines compare the whole 5-character field, as stored.
        const std::string& type = room.RoomType;
        if (RTrim(type) == "NK1")
            board.nk1++;
        if (RTrim(type) == "K11")
            board.k11++;
        if (type == "NQ1  ")
            board.nq1++;
        if (type == "NDD1 ")
            board.ndd1++;
        if (type == "Q11  ")
            board.q11++;
        if (type == "DD1  ")
            board.dd1++;
        if (type == "SQ3  " || type == "SQ1  " || type == "SNQ3 " || type == "SNQ1 ")
            board.jqz++;
    }
    return board;
}

std::string DayName(double day) {
    static const char* const names[] = {"MONDAY", "TUESDAY",  "WEDNESDAY", "THURSDAY",
                                        "FRIDAY", "SATURDAY", "SUNDAY"};
    for (int d = 1; d <= 7; ++d)
        if (day == d)
            return names[d - 1];
    return std::string();
}

Form1::Form1(App& app) : AppForm(app, kName, "Front Desk", {0, 0, 1024, 720}) {
    SetKeyPreview(true);
    Command1.on_click = [this] { Replace("form2"); };
    Command2.on_click = [this] { Replace("Form4"); };
    Command7.on_click = [this] { Replace("Form4"); };
    Command14.on_click = [this] { Replace("Form10"); };
    Command3.on_click = [this] { Open("Form12"); };
    Command4.on_click = [this] { Open("Form3"); };
    Command6.on_click = [this] { Open("Form37"); };
    Command8.on_click = [this] { Open("Form11"); };
    Command9.on_click = [this] { Open("Form25"); };
    Command10.on_click = [this] { Open("Form5"); };
    Command11.on_click = [this] { Open("Form6"); };
    Command12.on_click = [this] { Open("Form7"); };
    Command13.on_click = [this] { Open("Form8"); };
    Command15.on_click = [this] { Open("Form71"); };
    Command16.on_click = [this] { Open("Form62"); };
    Command18.on_click = [this] { Open("Form65"); };
    Command20.on_click = [this] { Open("Form74"); };
    Command5.on_click = [this] { Command5_Click(); };
    Timer1.on_timer = [this] { Timer1_Timer(); };
    Timer2.on_timer = [this] { Timer2_Timer(); };
}

void Form1::Replace(const char* window) {
    app().Unload(*this);
    app().Load(window);
}

void Form1::Open(const char* window) {
    app().Load(window);
}

void Form1::Form_Load() {
    Show();
    StartCallCapture(app());
    SetWindowState(WindowState::Maximized);
    Label1.SetCaption(app().settings().motelName);

    // No day chosen yet leaves the day blank until one is set.
    if (auto day = records::ReadDayOfWeek(app().data())) {
        std::string name = DayName(*day);
        if (!name.empty())
            Label37.SetCaption(name);
    }
    ShowShift();
    Label17.SetCaption(app().clock().DateText());
    ShowArrivalsToday();
    ShowRoomBoard();

    if (records::ReadIntroFlag(app().data()) == 0)
        app().Load("Form67");
}

void Form1::ShowShift() {
    records::ShiftRecord shift = records::ReadShift(app().data());
    app().gShift = shift.Shift;
    app().gClerk = shift.Clerk;
    Label25.SetCaption(shift.Shift);
    Label26.SetCaption(shift.Clerk);
}

void Form1::ShowShiftAndClerk(const std::string& shift, const std::string& clerk) {
    Label25.SetCaption(shift);
    Label26.SetCaption(clerk);
}

void Form1::ShowDayName(double day) {
    Label37.SetCaption(DayName(day));
}

void Form1::ShowArrivalCount(int count) {
    Label2.SetCaption(std::to_string(count));
}

void Form1::ShowArrivalsToday() {
    const auto arriving = records::ReservationsArrivingOn(app().data(), app().clock().DateText(),
                                                          records::ArrivalMatch::TrailingBlanks);
    Label2.SetCaption(std::to_string(arriving.size()));
}

void Form1::ShowRoomBoard() {
    RoomBoard board = CountRoomBoard(app().data());
    auto count = [](int n) { return std::to_string(n); };
    auto countOrDash = [](int n) { return n == 0 ? std::string("-") : std::to_string(n); };
    Label5.SetCaption(count(board.occupied));
    Label6.SetCaption(board.available == 0 ? std::string() : count(board.available));
    Label8.SetCaption(count(board.nq1));
    Label9.SetCaption(count(board.ndd1));
    Label10.SetCaption(count(board.q11));
    Label11.SetCaption(count(board.dd1));
    Label12.SetCaption(countOrDash(board.jqz));
    Label41.SetCaption(countOrDash(board.nk1));
    Label42.SetCaption(countOrDash(board.k11));
}

void Form1::Form_KeyPress(int& KeyAscii) {
    switch (KeyAscii) {
    case '1':
        Replace("form2");
        break;
    case '2':
    case 'F':
    case 'f':
        Replace("Form4");
        break;
    case 'S':
    case 's':
        Replace("Form5");
        break;
    case 'G':
    case 'g':
        Replace("Form7");
        break;
    case 'V':
    case 'v':
        Replace("Form10");
        break;
    case 'W':
    case 'w':
        Open("Form6");
        break;
    case '6':
        Open("Form8");
        break;
    case 'X':
    case 'x':
        Open("Form11");
        break;
    case 'M':
    case 'm':
        Open("Form12");
        break;
    case 'R':
    case 'r':
        Open("Form25");
        break;
    case 'Q':
    case 'q':
        Open("Form62");
        break;
    case 'T':
    case 't':
        Open("Form37");
        break;
    default:
        return;
    }
    KeyAscii = 0;
}

bool HoldBusinessDate(App& app) {
    platform::Clock& clock = app.ClockAsItStands(); // this is the hold every read of the date runs
    const std::string time = clock.TimeText();
    bool moved = false;
    if (Mid(time, 9, 2) == "AM" || Mid(time, 10, 2) == "AM") {
        records::DateStatusRecord status = records::ReadDateStatus(app.data());
        if (status.RolledBack != 1.0f) {
            // The flag and the clock change in one step, both or neither; the flag goes
            // first, so that a clock that cannot be put back never moves without it.
            status.RolledBack = 1.0f;
            records::WriteDateStatus(app.data(), status);
            clock.SetDate(AddDays(clock.Today(), -1));
            platform::DescribeStep(app.data(), "The date hold after midnight: the business date kept at " +
                                                   clock.DateText());
            moved = true;
        }
    }
    if (Mid(time, 9, 2) == "PM" || Mid(time, 10, 2) == "PM") {
        records::DateStatusRecord status = records::ReadDateStatus(app.data());
        if (status.RolledBack != 0) {
            status.RolledBack = 0;
            platform::DescribeStep(app.data(), "The date hold ended at noon");
            records::WriteDateStatus(app.data(), status);
        }
    }
    return moved;
}

void Form1::Timer1_Timer() {
    if (HoldBusinessDate(app()))
        Label33.SetCaption(app().clock().DateText());
    Label17.SetCaption(app().clock().DateText());
}

// The list of guests due out today, made once in an 11 o'clock hour of shift "A". The
// day's file is written only the first time, so a restart in that hour does not add the
// same guests again.
void Form1::Timer2_Timer() {
    if (Left(app().clock().TimeText(), 2) != "11" || app().gShift != "A" || app().gSleepersDone == 1.0f)
        return;
    std::string today = app().clock().DateText();
    bool listWritten = FileExists(records::DayFilePath(app().data(), records::DayFile::Sleepers, today));
    List1.SetVisible(true);
    Label36.SetVisible(true);
    List1.Clear();
    for (const records::GuestRecord& guest : records::ReadAllGuests(app().data(), records::kGuestFile)) {
        if (guest.LastName == std::string(15, ' ') || guest.FirstName == std::string(15, ' '))
            continue;
        if (RTrim(guest.DepartureDate) != RTrim(today))
            continue;
        List1.AddItem(guest.Room);
        if (listWritten)
            continue;
        records::AppendSleeperLine(app().data(), today, guest);
        records::WriteSleepersToday(app().data(), 1);
    }
    app().gSleepersDone = 1.0f;
}

void Form1::Form_QueryClose() {
    Command5_Click();
}

void Form1::Command5_Click() {
    StopCallCapture(app());
    for (const char* window : {"Form41", "Form42", "Form43", "Form51"})
        app().Unload(window);
    // Leaving the program closes every window still open (the first-run guide, a menu),
    // so that no window is left behind without the front desk. An unload step may load a
    // window again (Add Reservation over the front desk starts call capture), so this goes
    // on until the front desk is alone, and the port is closed once nothing can reopen it.
    for (int round = 0; round < 8 && app().LoadedForms().size() > 1; ++round) {
        auto open = app().LoadedForms();
        for (auto it = open.rbegin(); it != open.rend(); ++it)
            if (*it != this)
                app().Unload(**it);
    }
    StopCallCapture(app());
    app().Unload(*this);
}

} // namespace vantreth
