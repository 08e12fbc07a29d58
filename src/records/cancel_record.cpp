// The cancelled-reservation record.
#include "records/cancel_record.h"

#include "records/record_fields.h"
#include "records/record_file.h"

namespace records {

using platform::RecordBuffer;

CancelRecord CancelRecord::Decode(std::string_view bytes) {
    const RecordBuffer buffer(fields::Padded(bytes, kLength));
    CancelRecord record;
    record.GuestName = fields::Text(buffer, 0, 40);
    record.Clerk = fields::Text(buffer, 40, 2);
    record.CanceledOn = fields::Text(buffer, 42, 10);
    record.ReservedOn = fields::Text(buffer, 52, 10);
    record.Reserved = buffer.bytes().substr(62, 50);
    return record;
}

std::string CancelRecord::Encode() const {
    RecordBuffer buffer(std::string(kLength, '\0'));
    buffer.SetText(0, 40, GuestName);
    buffer.SetText(40, 2, Clerk);
    buffer.SetText(42, 10, CanceledOn);
    buffer.SetText(52, 10, ReservedOn);
    std::string bytes = buffer.bytes();
    bytes.replace(62, 50, fields::Padded(Reserved, 50));
    return bytes;
}

std::vector<CancelRecord> ReadCancelRecords(const platform::FilePath& file) {
    return RecordFile<CancelRecord>(file).ReadAll();
}

void AppendCancelRecord(const platform::FilePath& file, const CancelRecord& record) {
    RecordFile<CancelRecord>(file).Append(record);
}

} // namespace records
