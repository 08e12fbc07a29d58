// The shift file's one record.
#include "records/shift_record.h"

#include "records/filenames.h"
#include "records/record_fields.h"
#include "records/record_file.h"

namespace records {

using platform::RecordBuffer;

ShiftRecord ShiftRecord::Decode(std::string_view bytes) {
    const RecordBuffer buffer(fields::Padded(bytes, kLength));
    ShiftRecord record;
    record.Shift = fields::Text(buffer, 0, 1);
    record.Clerk = fields::Text(buffer, 1, 2);
    return record;
}

std::string ShiftRecord::Encode() const {
    RecordBuffer buffer(kLength);
    buffer.SetText(0, 1, Shift);
    buffer.SetText(1, 2, Clerk);
    return buffer.bytes();
}

ShiftRecord ReadShift(const platform::DataFolder& folder) {
    return RecordFile<ShiftRecord>(folder.File(kShiftFile)).Read(1);
}

void WriteShift(const platform::DataFolder& folder, const ShiftRecord& shift) {
    RecordFile<ShiftRecord>(folder.File(kShiftFile)).Write(1, shift);
}

} // namespace records
