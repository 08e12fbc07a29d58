// NoRentRecord: one name of the do-not-rent list, the file "norent", 80-byte records.
//
//   offset width field
//        0    15 LastName   blank-padded, as typed; 15 blanks = a removed entry
//       15    15 FirstName  blank-padded, as typed
//       30    10 SpareText  never filled; zero bytes in a record added by the program
//       40    40 SpareNote  never filled; zero bytes in a record added by the program
//
// Records are numbered from 1; the count is the file length / 80. Removing a name blanks
// both names in place, and a new name is always appended, so the file only grows.
#pragma once

#include "platform/files.h"

#include <string>
#include <string_view>
#include <vector>

namespace records {

struct NoRentRecord {
    static constexpr int kLength = 80;
    static constexpr size_t kNameWidth = 15;
    static constexpr size_t kSpareTextWidth = 10;
    static constexpr size_t kSpareNoteWidth = 40;

    std::string LastName = std::string(kNameWidth, ' ');
    std::string FirstName = std::string(kNameWidth, ' ');
    // The spare fields are raw bytes, written back exactly as read.
    std::string SpareText = std::string(kSpareTextWidth, '\0');
    std::string SpareNote = std::string(kSpareNoteWidth, '\0');

    // A record past the end of the file (zero bytes) reads as a removed entry.
    static NoRentRecord Decode(std::string_view bytes);
    std::string Encode() const; // all 80 bytes

    // LastName is not all blanks.
    bool IsLive() const;
    // Blanks both names; the spare fields stay as they are.
    void Remove();
    // The line the list shows: Trim(LastName), one blank, Trim(FirstName).
    std::string ListLine() const;

    friend bool operator==(const NoRentRecord&, const NoRentRecord&) = default;
};

long NoRentCount(const platform::DataFolder& folder);
NoRentRecord ReadNoRent(const platform::DataFolder& folder, long n);
void WriteNoRent(const platform::DataFolder& folder, long n, const NoRentRecord& record);
// Every record, removed ones included, record 1 first.
std::vector<NoRentRecord> ReadAllNoRent(const platform::DataFolder& folder);

// A live entry as the list shows it, with the names without their padding.
struct NoRentEntry {
    long recordNumber = 0;
    std::string lastName;  // Trim(LastName)
    std::string firstName; // Trim(FirstName)
    std::string line;      // NoRentRecord::ListLine

    friend bool operator==(const NoRentEntry&, const NoRentEntry&) = default;
};
// The live entries in record order.
std::vector<NoRentEntry> ReadNoRentList(const platform::DataFolder& folder);

// Appends the names as typed (cut to 15 characters, case kept) after the last record and
// returns its record number. A last name that is empty or only blanks would be stored as
// a removed entry: nothing is written and 0 is returned. An empty first name is allowed.
long AddNoRent(const platform::DataFolder& folder, std::string_view lastName, std::string_view firstName);

// The first live record whose trimmed names equal the given ones exactly, else 0.
long FindNoRent(const platform::DataFolder& folder, std::string_view lastName, std::string_view firstName);
// Blanks the names of FindNoRent's record in place. False, with nothing written, when no
// live record has those names any more.
bool RemoveNoRent(const platform::DataFolder& folder, std::string_view lastName, std::string_view firstName);

// How many live records have Trim(LastName) equal to `lastName` and Trim(FirstName) equal
// to `firstName`, both exact and case-sensitive; the typed names are not trimmed. The
// check-in warns once per match. A removed entry never matches, not even empty names.
int NoRentMatches(const platform::DataFolder& folder, std::string_view lastName, std::string_view firstName);

} // namespace records
