// The folio number counter and the rooms rented on a day.
#include "records/counters.h"

#include "records/filenames.h"
#include "records/record_fields.h"

namespace records {

using platform::DataFolder;
using platform::RandomFile;
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

FolioCounter ReadFolioCounter(const DataFolder &folder) {
    return FolioCounter::Decode(RandomFile(folder.File(kFolioFile), FolioCounter::kLength).Get(1));
}

void WriteFolioCounter(const DataFolder &folder, const FolioCounter &counter) {
    RandomFile(folder.File(kFolioFile), FolioCounter::kLength).Put(1, counter.Encode());
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
RandomFile RoomsRentedFile(const DataFolder &folder, std::string_view dateText) {
    return RandomFile(DayFilePath(folder, DayFile::RoomsRented, dateText), RoomsRentedRecord::kLength);
}
} // namespace

RoomsRentedRecord ReadRoomsRented(const DataFolder &folder, std::string_view dateText) {
    return RoomsRentedRecord::Decode(RoomsRentedFile(folder, dateText).Get(1));
}

void WriteRoomsRented(const DataFolder &folder, std::string_view dateText, const RoomsRentedRecord &record) {
    RoomsRentedFile(folder, dateText).Put(1, record.Encode());
}

float AddRoomsRented(const DataFolder &folder, std::string_view dateText, float count) {
    RoomsRentedRecord record = ReadRoomsRented(folder, dateText);
    record.RoomsRented += count;
    WriteRoomsRented(folder, dateText, record);
    return record.RoomsRented;
}

} // namespace records
