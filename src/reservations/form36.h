// "Edit Reservation": one stored reservation, opened from a reservation list. The clerk
// corrects it, moves it to another room, takes money toward it, cancels it or checks its
// guest in.
#pragma once

#include "app/app.h"
#include "app/guest_boxes.h"
#include "records/guest_record.h"
#include "reservations/reservation_edit.h"

namespace vantreth {

class Form36 final : public AppForm {
public:
    static constexpr const char* kName = "Form36";
    explicit Form36(App& app);

    platform::Frame Frame5{*this, "Frame5", {.caption = "Guest Information", .at = {12, 8, 420, 372}}};
    platform::Label Label3{*this, "Label3", {.caption = "Last", .at = {12, 32, 80, 20}, .frame = &Frame5}};
    platform::TextBox Text9{*this, "Text9", {.at = {96, 28, 300, 26}, .frame = &Frame5, .maxLength = 15}};
    platform::Label Label4{*this, "Label4", {.caption = "First", .at = {12, 66, 80, 20}, .frame = &Frame5}};
    platform::TextBox Text10{*this, "Text10", {.at = {96, 62, 300, 26}, .frame = &Frame5, .maxLength = 15}};
    platform::Label Label5{
        *this, "Label5", {.caption = "Company", .at = {12, 100, 80, 20}, .frame = &Frame5}};
    platform::TextBox Text11{*this, "Text11", {.at = {96, 96, 300, 26}, .frame = &Frame5, .maxLength = 20}};
    platform::Label Label6{*this, "Label6", {.caption = "Street", .at = {12, 134, 80, 20}, .frame = &Frame5}};
    platform::TextBox Text12{*this, "Text12", {.at = {96, 130, 300, 26}, .frame = &Frame5, .maxLength = 25}};
    platform::Label Label7{*this, "Label7", {.caption = "City", .at = {12, 168, 80, 20}, .frame = &Frame5}};
    platform::TextBox Text13{*this, "Text13", {.at = {96, 164, 300, 26}, .frame = &Frame5, .maxLength = 20}};
    platform::Label Label8{*this, "Label8", {.caption = "State", .at = {12, 202, 80, 20}, .frame = &Frame5}};
    platform::TextBox Text14{*this, "Text14", {.at = {96, 198, 44, 26}, .frame = &Frame5, .maxLength = 2}};
    platform::Label Label9{*this, "Label9", {.caption = "Zip", .at = {160, 202, 40, 20}, .frame = &Frame5}};
    platform::TextBox Text15{*this, "Text15", {.at = {204, 198, 90, 26}, .frame = &Frame5, .maxLength = 6}};
    platform::Label Label10{
        *this, "Label10", {.caption = "Phone", .at = {12, 236, 80, 20}, .frame = &Frame5}};
    platform::TextBox Text16{*this, "Text16", {.at = {96, 232, 150, 26}, .frame = &Frame5, .maxLength = 15}};
    platform::Label Label11{
        *this, "Label11", {.caption = "Reg.Card", .at = {256, 236, 72, 20}, .frame = &Frame5}};
    platform::TextBox Text17{*this, "Text17", {.at = {330, 232, 66, 26}, .frame = &Frame5, .maxLength = 6}};
    platform::Label Label12{
        *this, "Label12", {.caption = "Adults", .at = {12, 270, 80, 20}, .frame = &Frame5}};
    platform::TextBox Text18{*this, "Text18", {.at = {96, 266, 44, 26}, .frame = &Frame5}};
    platform::Label Label13{
        *this, "Label13", {.caption = "Chil.", .at = {160, 270, 40, 20}, .frame = &Frame5}};
    platform::TextBox Text19{*this, "Text19", {.at = {204, 266, 44, 26}, .frame = &Frame5}};
    platform::Label Label14{
        *this, "Label14", {.caption = "Clerk", .at = {274, 270, 50, 20}, .frame = &Frame5}};
    platform::Label Label1{*this, "Label1", {.at = {330, 270, 40, 20}, .frame = &Frame5, .bold = true}};
    platform::Label Label15{
        *this, "Label15", {.caption = "Comment", .at = {12, 304, 80, 20}, .frame = &Frame5}};
    platform::TextBox Text20{*this, "Text20", {.at = {96, 300, 300, 26}, .frame = &Frame5, .maxLength = 160}};

    platform::Label Label16{*this, "Label16", {.caption = "Arriving:", .at = {448, 24, 92, 20}}};
    platform::TextBox Text7{*this, "Text7", {.at = {544, 20, 110, 26}}};
    platform::Label Label17{*this, "Label17", {.caption = "Departing:", .at = {448, 58, 92, 20}}};
    platform::TextBox Text5{*this, "Text5", {.at = {544, 54, 110, 26}}};
    platform::ComboBox Combo1{
        *this,
        "Combo1",
        {.caption = "Room List", .at = {448, 92, 206, 28}, .fixedFont = true, .listOnly = true}};
    platform::Label Label18{*this, "Label18", {.caption = "Room#", .at = {664, 96, 54, 20}}};
    platform::Label Label24{*this, "Label24", {.at = {720, 96, 44, 20}, .bold = true}};
    platform::Label Label19{*this, "Label19", {.caption = "Pay Code", .at = {448, 134, 92, 20}}};
    platform::TextBox Text1{*this, "Text1", {.at = {544, 130, 44, 26}, .maxLength = 1}};
    platform::Label Label20{*this, "Label20", {.caption = "DB#:", .at = {448, 168, 92, 20}}};
    platform::TextBox Text2{*this, "Text2", {.at = {544, 164, 110, 26}, .maxLength = 8}};
    platform::Label Label23{*this, "Label23", {.caption = "Rate", .at = {448, 202, 92, 20}}};
    platform::TextBox Text6{*this, "Text6", {.at = {544, 198, 110, 26}}};
    platform::Label Label21{*this, "Label21", {.caption = "Card No.", .at = {448, 236, 92, 20}}};
    platform::TextBox Text3{*this, "Text3", {.at = {544, 232, 220, 26}, .maxLength = 40}};
    platform::Label Label22{*this, "Label22", {.caption = "Expire Date", .at = {448, 270, 92, 20}}};
    platform::TextBox Text4{*this, "Text4", {.at = {544, 266, 110, 26}, .maxLength = 10}};

    platform::Label Label25{*this, "Label25", {.caption = "Cash Received", .at = {448, 310, 170, 20}}};
    platform::Label Label26{*this, "Label26", {.at = {624, 310, 110, 20}, .bold = true}};
    platform::Label Label30{*this, "Label30", {.caption = "Credit Card Received", .at = {448, 336, 170, 20}}};
    platform::Label Label29{*this, "Label29", {.at = {624, 336, 110, 20}, .bold = true}};
    platform::Label Label28{*this, "Label28", {.caption = "CN#", .at = {448, 362, 170, 20}}};
    platform::Label Label27{*this, "Label27", {.at = {624, 362, 110, 20}, .bold = true}};
    platform::Label Label31{*this, "Label31", {.caption = "Reservation made on", .at = {448, 388, 170, 20}}};
    platform::Label Label32{*this, "Label32", {.at = {624, 388, 110, 20}, .bold = true}};

    platform::CommandButton Command1{
        *this, "Command1", {.caption = "Cash Payment", .at = {12, 430, 150, 32}}};
    platform::CommandButton Command6{
        *this, "Command6", {.caption = "Credit Payment", .at = {172, 430, 150, 32}}};
    platform::CommandButton Command2{*this, "Command2", {.caption = "Check In", .at = {448, 430, 150, 32}}};
    platform::CommandButton Command3{
        *this, "Command3", {.caption = "Cancel Reservation", .at = {608, 430, 160, 32}}};
    platform::Label Label33{
        *this,
        "Label33",
        {.caption = "NOTE: Any changes will   automatically be saved on exit.", .at = {12, 476, 420, 40}}};
    platform::CommandButton Command5{
        *this, "Command5", {.caption = "Back To List", .at = {448, 474, 150, 32}}};
    platform::CommandButton Command4{*this, "Command4", {.caption = "Exit", .at = {608, 474, 160, 32}}};

private:
    void Form_Load() override;
    void Form_QueryClose() override;
    void Combo1_Click();
    void Command1_Click() { TakePayment(reservations::Payment::Cash); }
    void Command6_Click() { TakePayment(reservations::Payment::Card); }
    void Command2_Click();
    std::optional<reservations::CheckInProblem> CheckInRefusal(const reservations::ReservationBoxes& boxes,
                                                               std::optional<double>& taxRate,
                                                               std::optional<long>& slot);
    void RefuseCheckIn(reservations::CheckInProblem problem);
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Text1_Change();
    void Text1_Click();

    reservations::ReservationBoxes Boxes() const;
    void Fill(const reservations::ReservationBoxes& boxes);
    // The save of Exit and Back To List; false when a check refused it.
    bool Save();
    void TakePayment(reservations::Payment kind);
    std::optional<long> OpenSlot() const;
    // Asks for an amount until the answer is empty or a number; nullopt for an empty answer.
    std::optional<double> AskAmount(const std::string& prompt, const std::string& title);

    // Whether the load found the reservation the list named, and that reservation as loaded.
    bool m_found = false;
    records::GuestRecord m_loaded;
    GuestEntry m_guest;
};

} // namespace vantreth
