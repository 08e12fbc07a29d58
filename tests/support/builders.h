// Records for tests, with the defaults most tests want. Text is blank-padded (or cut) to the
// width the record stores it in, so a built record equals the one read back from its file.
#pragma once

#include "platform/text.h"
#include "records/direct_bill.h"
#include "records/guest_record.h"
#include "records/history.h"
#include "records/room_record.h"
#include "records/stay_ledger.h"

#include <map>
#include <string>
#include <vector>

namespace vantreth::testing {

// The record as its file stores it: every text field padded with blanks or cut to its width.
template <class Record> Record Stored(const Record& record) {
    return Record::Decode(record.Encode());
}

// A room as a test describes it: by default a clean, vacant, available NQ1 at rate 0 with
// no comment, its rate not locked.
struct RoomSpec {
    std::string room;
    std::string type = "NQ1";
    float rate = 0;
    std::string clean = "Y";
    std::string vacant; // when empty: "N" for an occupied room (service "O"), else "Y"
    std::string service = "A";
    std::string comment;
    bool rateLocked = false;
    std::string spare;
};

inline records::RoomRecord Room(const RoomSpec& spec) {
    using records::RoomRecord;
    RoomRecord room;
    room.Room = platform::Fixed(spec.room, RoomRecord::kRoomWidth);
    room.RoomType = platform::Fixed(spec.type, RoomRecord::kRoomTypeWidth);
    room.Rate = spec.rate;
    room.Clean = spec.clean;
    room.Vacant = !spec.vacant.empty() ? spec.vacant : spec.service == "O" ? "N" : "Y";
    room.Service = spec.service;
    room.Comment = platform::Fixed(spec.comment, RoomRecord::kCommentWidth);
    room.SetRateLocked(spec.rateLocked);
    room.SpareText = platform::Fixed(spec.spare, RoomRecord::kSpareTextWidth);
    return room;
}

// The bytes of a rooms file holding `rooms`, with the Clean, Vacant and Service letters of
// the rooms named in `letters` (by the stored 3-character room) replaced: {{"12 ", "YNO"}}.
inline std::string RoomsFileWith(const std::vector<records::RoomRecord>& rooms,
                                 const std::map<std::string, std::string>& letters) {
    std::string bytes;
    for (records::RoomRecord room : rooms) {
        auto it = letters.find(room.Room);
        if (it != letters.end()) {
            room.Clean = it->second.substr(0, 1);
            room.Vacant = it->second.substr(1, 1);
            room.Service = it->second.substr(2, 1);
        }
        bytes += room.Encode();
    }
    return bytes;
}

// A guest (or a reservation) of the room, by name, with the other fields of `more`
// (by default blank or zero): Guest("101", "SMITH", "JOHN", {.Nights = 2, .PayCode = "L"}).
inline records::GuestRecord Guest(const std::string& room, const std::string& last, const std::string& first,
                                  records::GuestRecord more = {}) {
    more.Room = room;
    more.LastName = last;
    more.FirstName = first;
    return Stored(more);
}

// A guest whose registration card is filled in: company, address, phone, card, clerk,
// party, three nights from 12/5/26 to 12/8/26 at 45.50 paid in cash, folio 17.
inline records::GuestRecord RegisteredGuest(const std::string& room, const std::string& last,
                                            const std::string& first) {
    return Guest(room, last, first,
                 {.Company = "ACME",
                  .Street = "1 MAIN ST",
                  .City = "SPRINGFIELD",
                  .State = "IL",
                  .Zip = "62701",
                  .Phone = "555-1234",
                  .RegCard = "4711",
                  .Clerk = "JD",
                  .Adults = 2,
                  .Children = 1,
                  .Nights = 3,
                  .PayCode = "L",
                  .CheckInTime = "3:45:12 PM",
                  .ArrivalDate = "12/5/26",
                  .CheckOutTime = "-------",
                  .DepartureDate = "12/8/26",
                  .Rate = 45.5f,
                  .CardNumber = "none",
                  .CardExpiry = "none",
                  .FolioNumber = "17",
                  .Comment = "QUIET ROOM",
                  .ConfirmationNumber = "C-99"});
}

// A guest in house as the folio tests have them: two adults, two nights from 12/5/26 to
// 12/7/26 at 45.50, folio 17, paid by `payCode`.
inline records::GuestRecord FolioGuest(const std::string& room, const std::string& last,
                                       const std::string& first, const std::string& payCode = "L") {
    return Guest(room, last, first,
                 {.Company = "ACME",
                  .Street = "1 ELM ST",
                  .City = "DAYTON",
                  .State = "OH",
                  .Zip = "45402",
                  .Phone = "555-0101",
                  .RegCard = "R1234",
                  .Clerk = "JD",
                  .Adults = 2,
                  .Nights = 2,
                  .PayCode = payCode,
                  .CheckInTime = "3:45:12 PM",
                  .ArrivalDate = "12/5/26",
                  .DepartureDate = "12/7/26",
                  .Rate = 45.5f,
                  .CardNumber = "none",
                  .CardExpiry = "none",
                  .FolioNumber = "17",
                  .Comment = "LATE ARRIVAL"});
}

// A stay as the history file holds it: the fields of `entry`, those the file keeps at a
// width (names, address, phone, reg. card, room, times, arrival, folio number, comment)
// padded with blanks or cut to it.
inline records::HistoryEntry HistoryStay(records::HistoryEntry entry) {
    using records::HistoryEntry;
    const HistoryEntry blank;
    for (std::string HistoryEntry::*field :
         {&HistoryEntry::LastName, &HistoryEntry::FirstName, &HistoryEntry::Company, &HistoryEntry::Street,
          &HistoryEntry::City, &HistoryEntry::Zip, &HistoryEntry::Phone, &HistoryEntry::RegCard,
          &HistoryEntry::Room, &HistoryEntry::CheckInTime, &HistoryEntry::ArrivalDate,
          &HistoryEntry::CheckOutTime, &HistoryEntry::FolioNumber, &HistoryEntry::Comment})
        entry.*field = platform::Fixed(entry.*field, (blank.*field).size());
    return entry;
}

// A line of a stay's ledger, posted on shift A.
inline records::StayLedgerLine LedgerLine(const std::string& room, const std::string& code,
                                          const std::string& description, float amount,
                                          const std::string& taxFlag = "-----",
                                          const std::string& postDate = "12/5/26") {
    records::StayLedgerLine line;
    line.Room = platform::Fixed(room, 3);
    line.Shift = "A";
    line.PostDate = postDate;
    line.Code = code;
    line.Description = description;
    line.Amount = amount;
    line.TaxFlag = taxFlag;
    return line;
}

// A direct bill company account (its number `code`) of contact ANN SMITH in Dalton, GA.
inline records::DirectBillAccount CompanyAccount(const std::string& code, const std::string& company,
                                                 float balance, const std::string& zip = "30720") {
    records::DirectBillAccount a;
    a.CompanyName = platform::Fixed(company, 80);
    a.ContactLastName = platform::Fixed("SMITH", 20);
    a.ContactFirstName = platform::Fixed("ANN", 20);
    a.Address = platform::Fixed("12 MILL ROAD", 40);
    a.City = platform::Fixed("DALTON", 30);
    a.State = "GA";
    a.Zip = platform::Fixed(zip, 6);
    a.Phone1 = platform::Fixed("555-0101", 15);
    a.Balance = balance;
    a.TaxExempt = "N";
    a.DBNumber = platform::Fixed(code, 7);
    a.LastPaymentDate = platform::Fixed("--/--/--", 10);
    a.LastPaymentAmount = platform::Fixed("0", 10);
    return a;
}

} // namespace vantreth::testing
