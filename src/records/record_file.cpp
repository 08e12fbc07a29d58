// Reading the whole of a record file at once.
#include "records/record_file.h"

#include <algorithm>
#include <limits>

namespace records {

std::string ReadRecordBytes(const platform::RandomFile& file, long count) {
    const long length = file.recordLength();
    std::string bytes;
    if (count <= 0 || length <= 0)
        return bytes;
    // One read takes at most an int's worth of bytes.
    const long piece = std::numeric_limits<int>::max() / length;
    for (long first = 1; first <= count; first += piece) {
        const long records = std::min(piece, count - first + 1);
        std::string read = file.Get(first, static_cast<int>(records * length));
        if (bytes.empty())
            bytes = std::move(read);
        else
            bytes += read;
    }
    return bytes;
}

} // namespace records
