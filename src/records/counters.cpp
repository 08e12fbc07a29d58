// The folio number counter and the rooms rented on a day.
#include "records/counters.h"

#include "records/filenames.h"
#include "records/record_fields.h"
#include "records/record_file.h"

namespace records {

using platform::DataFolder;
using platform::RecordBuffer;

FolioCounter FolioCounter::Decode(std::string_view bytes) {
    const RecordBuffer buffer(fields::Padded(bytes, kLength));
    return FolioCounter{buffer.Single(0)};
}

std::string FolioCounter::Encode() const {
    RecordBuffer buffer(kBytesWritten);
    buffer.SetSingle(0, LastFolio);
    return buffer.bytes();
}

FolioCounter ReadFolioCounter(const DataFolder& folder) {
    return RecordFile<FolioCounter>(folder.File(kFolioFile)).Read(1);
}

void WriteFolioCounter(const DataFolder& folder, const FolioCounter& counter) {
    RecordFile<FolioCounter>(folder.File(kFolioFile)).Write(1, counter);
}

RoomsRentedRecord RoomsRentedRecord::Decode(std::string_view bytes) {
    const RecordBuffer buffer(fields::Padded(bytes, kLength));
    RoomsRentedRecord record;
    record.RoomsRented = buffer.Single(0);
    record.SpareText = fields::Text(buffer, 4, 5);
    return record;
}

std::string RoomsRentedRecord::Encode() const {
    RecordBuffer buffer(kBytesWritten);
    buffer.SetSingle(0, RoomsRented);
    buffer.SetText(4, 5, SpareText);
    return buffer.bytes();
}

namespace {
RecordFile<RoomsRentedRecord> RoomsRentedFile(const DataFolder& folder, std::string_view dateText) {
    return RecordFile<RoomsRentedRecord>(DayFilePath(folder, DayFile::RoomsRented, dateText));
}
} // namespace

RoomsRentedRecord ReadRoomsRented(const DataFolder& folder, std::string_view dateText) {
    return RoomsRentedFile(folder, dateText).Read(1);
}

void WriteRoomsRented(const DataFolder& folder, std::string_view dateText, const RoomsRentedRecord& record) {
    RoomsRentedFile(folder, dateText).Write(1, record);
}

float AddRoomsRented(const DataFolder& folder, std::string_view dateText, float count) {
    RoomsRentedRecord record = ReadRoomsRented(folder, dateText);
    record.RoomsRented += count;
    WriteRoomsRented(folder, dateText, record);
    return record.RoomsRented;
}

} // namespace records
