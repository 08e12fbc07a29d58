// The history file read a line at a time: mapped where it can be, read piece by piece where not.
#include "records/history_stream.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace records {

namespace {

bool AllDigits(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Maps the pages of a range in one go (Linux 5.14 on; older systems fault them in).
#ifdef MADV_POPULATE_READ
constexpr int kPopulateRead = MADV_POPULATE_READ;
#else
constexpr int kPopulateRead = 22;
#endif

} // namespace

bool SplitItemsOneByOne(std::string_view line, RawItem (&items)[kMostItems], size_t& count,
                        std::string& why) {
    const char* data = line.data();
    const size_t n = line.size();
    if (std::memchr(data, '\0', n) != nullptr) {
        why = "unreadable bytes";
        return false;
    }
    count = 0;
    size_t pos = 0;
    for (;;) {
        while (pos < n && IsBlank(data[pos]))
            ++pos;
        RawItem item;
        if (pos < n && data[pos] == '"') {
            const char* close = static_cast<const char*>(std::memchr(data + pos + 1, '"', n - pos - 1));
            if (close == nullptr) {
                why = "a text without its closing quote";
                return false;
            }
            item.offset = static_cast<uint32_t>(pos + 1);
            item.length = static_cast<uint32_t>(close - (data + pos + 1));
            item.quoted = true;
            pos = static_cast<size_t>(close - data) + 1;
            while (pos < n && IsBlank(data[pos]))
                ++pos;
            if (pos < n && data[pos] != ',') {
                why = "characters after a closing quote";
                return false;
            }
        } else {
            const size_t start = pos;
            const char* comma = static_cast<const char*>(std::memchr(data + pos, ',', n - pos));
            pos = comma != nullptr ? static_cast<size_t>(comma - data) : n;
            size_t end = pos;
            while (end > start && data[end - 1] == ' ')
                --end;
            item.offset = static_cast<uint32_t>(start);
            item.length = static_cast<uint32_t>(end - start);
        }
        if (count < kMostItems)
            items[count] = item;
        ++count;
        if (pos < n) { // at a comma
            ++pos;
            continue;
        }
        return true;
    }
}

platform::SeqItem LiteralItem(std::string_view text) {
    if (text.size() == 12 && text[5] == '-' && text[8] == '-' && AllDigits(text.substr(1, 4)) &&
        AllDigits(text.substr(6, 2)) && AllDigits(text.substr(9, 2))) {
        auto value = [&](size_t at, size_t width) {
            int v = 0;
            for (char c : text.substr(at, width))
                v = v * 10 + (c - '0');
            return v;
        };
        const platform::Date date{value(1, 4), value(6, 2), value(9, 2)};
        if (platform::IsValidDate(date)) {
            platform::SeqItem item;
            item.kind = platform::SeqItem::Kind::Date;
            item.date = date;
            return item;
        }
    }
    std::vector<platform::SeqItem> items = platform::ParseSeqText(std::string(text) + "\n");
    return items.size() == 1 ? std::move(items[0]) : platform::SeqItem{};
}

HistoryStream::HistoryStream(platform::FilePath file, uint64_t from, size_t linesBefore)
    : m_file(std::move(file)), m_stepRead(static_cast<long long>(from)), m_readAt(from), m_base(from),
      m_lineNumber(linesBefore) {
    // A file the running step changed is read as the step sees it, piece by piece.
    if (platform::ChangedByStep(m_file)) {
        if (platform::FileSize(m_file) < 0)
            throw platform::IoError(m_file, "File not found");
        return;
    }
    do
        m_fd = ::open(m_file.c_str(), O_RDONLY | O_CLOEXEC);
    while (m_fd < 0 && errno == EINTR);
    if (m_fd < 0)
        throw platform::IoError(m_file,
                                errno == ENOENT ? std::string("File not found") : std::strerror(errno));
    struct stat st;
    if (::fstat(m_fd, &st) == 0 && st.st_size > 0 && static_cast<uint64_t>(st.st_size) > from) {
        const auto size = static_cast<size_t>(st.st_size);
        void* map = ::mmap(nullptr, size, PROT_READ, MAP_SHARED, m_fd, 0);
        if (map != MAP_FAILED) {
            m_map = static_cast<char*>(map);
            m_mapSize = size;
            m_data = m_map + from;
            m_givenBack = from / PageSize() * PageSize();
            ::madvise(map, size, MADV_SEQUENTIAL);
            return;
        }
    }
    ::posix_fadvise(m_fd, 0, 0, POSIX_FADV_SEQUENTIAL);
}

void HistoryStream::Reset(std::string_view bytes, uint64_t base, size_t linesBefore) {
    m_base = base;
    m_lineNumber = linesBefore;
    m_data = bytes.data();
    m_begin = 0;
    m_end = bytes.size();
    m_atEnd = true;
    m_inLineEnd = false;
    m_pin.reset();
    m_lastPlace = ~uint64_t{0};
    m_cutShort.clear();
    ClassifyHistoryBytes(bytes, m_classes);
}

HistoryStream::~HistoryStream() {
    if (m_map != nullptr)
        ::munmap(m_map, m_mapSize);
    if (m_fd >= 0)
        ::close(m_fd);
}

void HistoryStream::ReportDamage(const std::vector<std::string>& damage) const {
    if (damage.empty())
        return;
    struct stat st;
    const long long changed = m_fd < 0 ? -1 // the step's own version
                              : ::fstat(m_fd, &st) == 0
                                  ? st.st_mtim.tv_sec * 1000000000LL + st.st_mtim.tv_nsec
                                  : 0;
    platform::NoteSeqFileDamage(m_file, m_base + m_end, changed, damage);
}

bool HistoryStream::Fill() {
    if (m_atEnd)
        return false;
    size_t keep = m_begin;
    if (m_pin)
        keep = std::min<size_t>(keep, static_cast<size_t>(*m_pin - m_base));
    if (keep > 0) {
        if (m_map == nullptr)
            std::memmove(m_buffer.data(), m_buffer.data() + keep, m_end - keep);
        else
            m_data += keep;
        m_base += keep;
        m_begin -= keep;
        m_end -= keep;
    }
    const bool more = m_map != nullptr ? MapMore() : ReadMore();
    if (more || keep > 0)
        ClassifyHistoryBytes(std::string_view(m_data, m_end), m_classes);
    m_atEnd = !more;
    return more;
}

bool HistoryStream::MapMore() {
    const uint64_t viewed = m_base + m_end;
    if (viewed >= m_mapSize)
        return false;
    const size_t more = static_cast<size_t>(std::min<uint64_t>(m_mapSize - viewed, std::max(kPiece, m_end)));
    const uint64_t page = PageSize();
    // The pages behind the view go back (the system keeps them cached); the next ones
    // are mapped in one go rather than a fault at a time.
    const uint64_t behind = m_base / page * page;
    if (behind >= m_givenBack + kGiveBack) {
        ::madvise(m_map + m_givenBack, behind - m_givenBack, MADV_DONTNEED);
        m_givenBack = behind;
    }
    const uint64_t from = viewed / page * page;
    ::madvise(m_map + from, viewed + more - from, kPopulateRead);
    m_data = m_map + m_base;
    m_end += more;
    return true;
}

bool HistoryStream::ReadMore() {
    if (m_buffer.size() < kPiece)
        m_buffer.resize(kPiece);
    if (m_buffer.size() - m_end < kPiece / 2)
        m_buffer.resize(m_buffer.size() * 2); // a line longer than a piece
    m_data = m_buffer.data();
    for (;;) {
        const ssize_t got = ReadPiece(m_buffer.size() - m_end);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            throw platform::IoError(m_file, std::strerror(errno));
        m_end += static_cast<size_t>(got);
        return got > 0;
    }
}

ssize_t HistoryStream::ReadPiece(size_t most) {
    if (m_fd >= 0) {
        const ssize_t got = ::pread(m_fd, m_buffer.data() + m_end, most, static_cast<off_t>(m_readAt));
        if (got > 0)
            m_readAt += static_cast<uint64_t>(got);
        return got;
    }
    const std::string piece = platform::ReadFileAt(m_file, m_stepRead, most);
    std::memcpy(m_buffer.data() + m_end, piece.data(), piece.size());
    m_stepRead += static_cast<long long>(piece.size());
    return static_cast<ssize_t>(piece.size());
}

uint64_t HistoryStream::PageSize() {
    static const uint64_t page = static_cast<uint64_t>(::sysconf(_SC_PAGESIZE));
    return page;
}

} // namespace records
