// The counters: the folio number counter "folio" and the rooms rented on a day
// ("roomsrented/" + DateDigits). Each is record 1 of its file.
//
// FolioCounter, record length 5; a write puts 4 bytes, byte 4 is never touched:
//   offset 0, 4 bytes: LastFolio (Single), the last folio number issued; 0 when new
//
// RoomsRentedRecord, record length 10; a write puts 9 bytes, byte 9 is never touched:
//   offset 0, 4 bytes: RoomsRented (Single), a count, not rounded
//   offset 4, 5 bytes: SpareText, kept as read
#pragma once

#include "platform/files.h"

#include <string>
#include <string_view>

namespace records {

struct FolioCounter {
    static constexpr int kLength = 5;
    static constexpr int kBytesWritten = 4;

    float LastFolio = 0;

    static FolioCounter Decode(std::string_view bytes);
    std::string Encode() const; // the 4 bytes a write puts

    friend bool operator==(const FolioCounter&, const FolioCounter&) = default;
};

FolioCounter ReadFolioCounter(const platform::DataFolder& folder);
void WriteFolioCounter(const platform::DataFolder& folder, const FolioCounter& counter);

struct RoomsRentedRecord {
    static constexpr int kLength = 10;
    static constexpr int kBytesWritten = 9;

    float RoomsRented = 0;
    std::string SpareText = std::string(5, ' ');

    static RoomsRentedRecord Decode(std::string_view bytes);
    std::string Encode() const; // the 9 bytes a write puts

    friend bool operator==(const RoomsRentedRecord&, const RoomsRentedRecord&) = default;
};

RoomsRentedRecord ReadRoomsRented(const platform::DataFolder& folder, std::string_view dateText);
void WriteRoomsRented(const platform::DataFolder& folder, std::string_view dateText,
                      const RoomsRentedRecord& record);
// Reads record 1, adds `count` (without rounding), writes it back; returns the new count.
float AddRoomsRented(const platform::DataFolder& folder, std::string_view dateText, float count);

} // namespace records
