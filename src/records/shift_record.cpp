// The shift file's one record.
#include "records/shift_record.h"

#include "records/filenames.h"
#include "records/record_fields.h"

namespace records {

using platform::RandomFile;
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

ShiftRecord ReadShift(const platform::DataFolder &folder) {
    return ShiftRecord::Decode(RandomFile(folder.File(kShiftFile), ShiftRecord::kLength).Get(1));
}

void WriteShift(const platform::DataFolder &folder, const ShiftRecord &shift) {
    RandomFile(folder.File(kShiftFile), ShiftRecord::kLength).Put(1, shift.Encode());
}

} // namespace records
