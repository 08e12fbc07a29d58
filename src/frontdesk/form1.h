// "Front Desk": the first window and the hub. Its load step starts and refreshes the
// program: the call-capture window, the day, shift and clerk, today's arrivals and the
// room board. Timer1 holds the business date after midnight; Timer2 makes the 11 o'clock
// list of guests due out.
#pragma once

#include "app/app.h"
#include "app/front_desk_service.h"

namespace vantreth {

// The room board's counts, from the rooms file.
struct RoomBoard {
    int occupied = 0;
    int available = 0;
    int nk1 = 0, k11 = 0, nq1 = 0, ndd1 = 0, q11 = 0, dd1 = 0, jqz = 0;
};
RoomBoard CountRoomBoard(const platform::DataFolder& data);

// The day name for day numbers 1 (Monday) to 7; "" for any other number.
std::string DayName(double day);

class Form1 final : public AppForm, public FrontDesk {
public:
    static constexpr const char* kName = "Form1";
    explicit Form1(App& app);

    platform::Label Label1{*this,
                           "Label1",
                           {.caption = "123 Zovav Inc.",
                            .at = {20, 8, 984, 40},
                            .fontSize = 20,
                            .bold = true,
                            .align = platform::Align::Center}};
    platform::Label Label37{*this, "Label37", {.at = {20, 60, 300, 30}, .fontSize = 16, .bold = true}};
    platform::Label Label17{*this, "Label17", {.at = {20, 94, 140, 24}, .fontSize = 12, .bold = true}};
    platform::Label Label33{*this, "Label33", {.at = {170, 96, 150, 22}}};
    platform::Label Label23{*this, "Label23", {.caption = "Shift", .at = {20, 128, 50, 22}}};
    platform::Label Label25{*this, "Label25", {.at = {72, 128, 40, 22}, .bold = true}};
    platform::Label Label24{*this, "Label24", {.caption = "Clerk", .at = {130, 128, 50, 22}}};
    platform::Label Label26{*this, "Label26", {.at = {182, 128, 50, 22}, .bold = true}};
    platform::Label Label40{
        *this, "Label40", {.caption = "Reservations due in today", .at = {20, 160, 210, 22}}};
    platform::Label Label2{*this, "Label2", {.at = {236, 160, 60, 22}, .bold = true}};

    platform::Frame Frame2{*this, "Frame2", {.caption = "Room Status", .at = {20, 196, 300, 326}}};
    platform::Label Label3{*this,
                           "Label3",
                           {.caption = "Occuppied",
                            .at = {16, 28, 150, 22},
                            .frame = &Frame2,
                            .toolTip = "# of current occuppied rooms"}};
    platform::Label Label5{*this, "Label5", {.at = {180, 28, 90, 22}, .frame = &Frame2, .bold = true}};
    platform::Label Label4{*this,
                           "Label4",
                           {.caption = "Available",
                            .at = {16, 58, 150, 22},
                            .frame = &Frame2,
                            .toolTip = "Rooms currently available"}};
    platform::Label Label6{*this, "Label6", {.at = {180, 58, 90, 22}, .frame = &Frame2, .bold = true}};
    platform::Label Label43{*this,
                            "Label43",
                            {.caption = "Avail. NK1",
                             .at = {16, 96, 150, 22},
                             .frame = &Frame2,
                             .toolTip = "non smoking single king"}};
    platform::Label Label41{*this, "Label41", {.at = {180, 96, 90, 22}, .frame = &Frame2}};
    platform::Label Label44{*this,
                            "Label44",
                            {.caption = "Avail. K11",
                             .at = {16, 126, 150, 22},
                             .frame = &Frame2,
                             .toolTip = "smoking single king"}};
    platform::Label Label42{*this, "Label42", {.at = {180, 126, 90, 22}, .frame = &Frame2}};
    platform::Label Label45{*this,
                            "Label45",
                            {.caption = "Avail. NQ1",
                             .at = {16, 156, 150, 22},
                             .frame = &Frame2,
                             .toolTip = "non smoking single queen"}};
    platform::Label Label8{*this, "Label8", {.at = {180, 156, 90, 22}, .frame = &Frame2}};
    platform::Label Label46{*this,
                            "Label46",
                            {.caption = "Avail. NDD1",
                             .at = {16, 186, 150, 22},
                             .frame = &Frame2,
                             .toolTip = "non smoking double"}};
    platform::Label Label9{*this, "Label9", {.at = {180, 186, 90, 22}, .frame = &Frame2}};
    platform::Label Label47{*this,
                            "Label47",
                            {.caption = "Avail. Q11",
                             .at = {16, 216, 150, 22},
                             .frame = &Frame2,
                             .toolTip = "smoking single queen"}};
    platform::Label Label10{*this, "Label10", {.at = {180, 216, 90, 22}, .frame = &Frame2}};
    platform::Label Label48{
        *this,
        "Label48",
        {.caption = "Avail. DD1", .at = {16, 246, 150, 22}, .frame = &Frame2, .toolTip = "smoking double"}};
    platform::Label Label11{*this, "Label11", {.at = {180, 246, 90, 22}, .frame = &Frame2}};
    platform::Label Label49{
        *this,
        "Label49",
        {.caption = "Avail. JQZ", .at = {16, 276, 150, 22}, .frame = &Frame2, .toolTip = "Jaquzzi sweet"}};
    platform::Label Label12{*this, "Label12", {.at = {180, 276, 90, 22}, .frame = &Frame2}};

    platform::Label Label36{
        *this,
        "Label36",
        {.caption = "Guests that haven't checked out yet", .at = {20, 534, 300, 22}, .visible = false}};
    platform::ListBox List1{*this, "List1", {.at = {20, 558, 300, 150}, .visible = false, .fixedFont = true}};

    platform::Frame Frame1{*this, "Frame1", {.caption = "Options", .at = {344, 60, 660, 500}}};
    platform::CommandButton Command1{
        *this, "Command1", {.caption = "Check In", .at = {16, 30, 306, 40}, .frame = &Frame1}};
    platform::CommandButton Command2{
        *this, "Command2", {.caption = "Check Out", .at = {338, 30, 306, 40}, .frame = &Frame1}};
    platform::CommandButton Command7{
        *this, "Command7", {.caption = "View Folio", .at = {16, 80, 306, 40}, .frame = &Frame1}};
    platform::CommandButton Command14{
        *this, "Command14", {.caption = "Set Room Status", .at = {338, 80, 306, 40}, .frame = &Frame1}};
    platform::CommandButton Command3{
        *this, "Command3", {.caption = "Main Menu", .at = {16, 130, 306, 40}, .frame = &Frame1}};
    platform::CommandButton Command4{
        *this, "Command4", {.caption = "Input Rooms", .at = {338, 130, 306, 40}, .frame = &Frame1}};
    platform::CommandButton Command6{
        *this, "Command6", {.caption = "&Todays Reservations", .at = {16, 180, 306, 40}, .frame = &Frame1}};
    platform::CommandButton Command8{
        *this, "Command8", {.caption = "Unsold Rooms", .at = {338, 180, 306, 40}, .frame = &Frame1}};
    platform::CommandButton Command9{
        *this, "Command9", {.caption = "Reservations", .at = {16, 230, 306, 40}, .frame = &Frame1}};
    platform::CommandButton Command10{
        *this, "Command10", {.caption = "Change Shift", .at = {338, 230, 306, 40}, .frame = &Frame1}};
    platform::CommandButton Command11{
        *this, "Command11", {.caption = "Shift Cash Report", .at = {16, 280, 306, 40}, .frame = &Frame1}};
    platform::CommandButton Command12{
        *this, "Command12", {.caption = "Guest List", .at = {338, 280, 306, 40}, .frame = &Frame1}};
    platform::CommandButton Command13{
        *this,
        "Command13",
        {.caption = "Move Guest - Room To Room", .at = {16, 330, 306, 40}, .frame = &Frame1}};
    platform::CommandButton Command16{
        *this,
        "Command16",
        {.caption = "Quick Check Room Balance", .at = {338, 330, 306, 40}, .frame = &Frame1}};
    platform::CommandButton Command18{
        *this,
        "Command18",
        {.caption = "&Check Room Availability", .at = {16, 380, 306, 40}, .frame = &Frame1}};
    platform::CommandButton Command15{
        *this,
        "Command15",
        {.caption = "About Call Accounting", .at = {338, 380, 306, 40}, .frame = &Frame1}};
    platform::CommandButton Command20{
        *this, "Command20", {.caption = "About the Author", .at = {16, 430, 306, 40}, .frame = &Frame1}};
    platform::CommandButton Command5{
        *this, "Command5", {.caption = "EXIT VANTRETH", .at = {344, 574, 660, 44}, .bold = true}};

    platform::Timer Timer1{*this, "Timer1", {.interval = 5000}};
    platform::Timer Timer2{*this, "Timer2", {.interval = 1000}};

    void ShowShiftAndClerk(const std::string& shift, const std::string& clerk) override;
    void ShowDayName(double day) override;
    void ShowArrivalCount(int count) override;
    // The windows opened over the front desk go back to it: a failed step that closed it on
    // its way to another window brings it back.
    bool ComesBackAfterAFailedStep() const override { return true; }

private:
    void Form_Load() override;
    void Form_KeyPress(int& KeyAscii) override;
    // The close box leaves the program the same way as "EXIT VANTRETH".
    void Form_QueryClose() override;
    void Timer1_Timer();
    void Timer2_Timer();
    void Command5_Click();

    // The front desk is unloaded and the other window takes its place.
    void Replace(const char* window);
    // The other window opens on top of the front desk.
    void Open(const char* window);
    void ShowRoomBoard();
    void ShowArrivalsToday();
    void ShowShift();
};

// The date hold: at the first tick after midnight the business date goes back to the day
// being worked, once (remembered in `datestatus`); the first tick after noon arms it again.
// Returns true when the date moved. The front desk's Timer1 runs it, and the program runs it
// in the background whenever the front desk is not loaded.
bool HoldBusinessDate(App& app);

} // namespace vantreth
