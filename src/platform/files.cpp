// The data folder, random-access record files and comma-separated sequential files.
// Plain POSIX calls underneath, so that every failure carries the system's reason.
#include "platform/files.h"

#include "platform/text.h"

#include <bit>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

static_assert(std::endian::native == std::endian::little, "record files hold little-endian Singles");

namespace {

std::string SystemReason(int error) {
    return std::strerror(error);
}

// Closes the descriptor when the scope ends.
class Fd {
  public:
    explicit Fd(int fd) : m_fd(fd) {}
    ~Fd() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Fd(const Fd &) = delete;
    Fd &operator=(const Fd &) = delete;
    int get() const { return m_fd; }
    // Closes now, reporting a failure (a write error may only show up here).
    int Close() {
        int rc = ::close(m_fd);
        m_fd = -1;
        return rc;
    }

  private:
    int m_fd;
};

Fd OpenOrThrow(const std::filesystem::path &file, int flags) {
    int fd;
    do
        fd = ::open(file.c_str(), flags | O_CLOEXEC, 0600);
    while (fd < 0 && errno == EINTR);
    if (fd < 0)
        throw IoError(file, SystemReason(errno));
    return Fd(fd);
}

void WriteAllAt(const std::filesystem::path &file, int fd, std::string_view data, off_t offset) {
    while (!data.empty()) {
        ssize_t n = ::pwrite(fd, data.data(), data.size(), offset);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            throw IoError(file, SystemReason(n < 0 ? errno : EIO));
        data.remove_prefix(static_cast<size_t>(n));
        offset += n;
    }
}

void WriteAll(const std::filesystem::path &file, int fd, std::string_view data) {
    while (!data.empty()) {
        ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            throw IoError(file, SystemReason(n < 0 ? errno : EIO));
        data.remove_prefix(static_cast<size_t>(n));
    }
}

std::string ReadAll(const std::filesystem::path &file, int fd) {
    std::string out;
    char buf[65536];
    for (;;) {
        ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw IoError(file, SystemReason(errno));
        if (n == 0)
            return out;
        out.append(buf, static_cast<size_t>(n));
    }
}

std::string JoinLines(const std::vector<SeqLine> &lines) {
    std::string out;
    for (const SeqLine &line : lines)
        out += line.str() + "\r\n";
    return out;
}

void MakeFolder(const std::filesystem::path &folder) {
    if (::mkdir(folder.c_str(), 0700) == 0) {
        ::chmod(folder.c_str(), 0700);
        return;
    }
    int error = errno;
    struct stat st;
    if (error == EEXIST && ::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
        return;
    throw IoError(folder, SystemReason(error == EEXIST ? ENOTDIR : error));
}

} // namespace

IoError::IoError(const std::filesystem::path &file, const std::string &reason)
    : std::runtime_error(file.string() + ": " + reason), m_file(file), m_reason(reason) {}

// ---- the data folder ----

const std::vector<std::string> &DataFolder::SubFolders() {
    static const std::vector<std::string> kFolders = {
        "sleepers",          "dailycharge", "detail",     "totals",   "shiftcash",  "shiftrentals",
        "roomsrented",       "history",     "move",       "dbdaily",  "directbill", "dates",
        "reservationstoday", "notes",       "dbpayments", "phonelog", "print",      "postednotes"};
    return kFolders;
}

std::filesystem::path DataFolder::DefaultRoot() {
    const char *data = std::getenv("VANTRETH_DATA");
    if (data != nullptr && *data != '\0')
        return data;
    const char *xdg = std::getenv("XDG_DATA_HOME");
    if (xdg != nullptr && *xdg != '\0')
        return std::filesystem::path(xdg) / "vantreth";
    const char *home = std::getenv("HOME");
    return std::filesystem::path(home != nullptr ? home : ".") / ".local" / "share" / "vantreth";
}

DataFolder::DataFolder(std::filesystem::path root) : m_root(std::move(root)) {}

void DataFolder::EnsureLayout() const {
    std::error_code ec;
    if (!std::filesystem::exists(m_root, ec)) {
        if (m_root.has_parent_path()) {
            std::filesystem::create_directories(m_root.parent_path(), ec);
            if (ec)
                throw IoError(m_root.parent_path(), ec.message());
        }
    }
    MakeFolder(m_root);
    for (const std::string &sub : SubFolders())
        MakeFolder(m_root / sub);
}

std::filesystem::path DataFolder::File(std::string_view name) const {
    return m_root / SafeName(name);
}

std::filesystem::path DataFolder::File(std::string_view subfolder, std::string_view name) const {
    return m_root / SafeName(subfolder) / SafeName(name);
}

std::string DataFolder::SafeName(std::string_view name) {
    std::string out = RTrim(name);
    for (char &c : out) {
        auto u = static_cast<unsigned char>(c);
        if (c == '/' || c == '\\' || u < 0x20 || u == 0x7F)
            c = '_';
    }
    // "." and ".." would name this folder or the one above it.
    if (out.empty() || out == "." || out == "..")
        out = std::string(std::max<size_t>(out.size(), 1), '_');
    return out;
}

bool FileExists(const std::filesystem::path &file) {
    std::error_code ec;
    return std::filesystem::is_regular_file(file, ec);
}

void DeleteFile(const std::filesystem::path &file) {
    if (::unlink(file.c_str()) != 0 && errno != ENOENT)
        throw IoError(file, SystemReason(errno));
}

void ReplaceFileContent(const std::filesystem::path &file, std::string_view content) {
    std::string pattern = file.string() + ".XXXXXX";
    int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd < 0)
        throw IoError(file, SystemReason(errno));
    Fd temp(fd);
    try {
        WriteAll(file, temp.get(), content);
        if (temp.Close() != 0)
            throw IoError(file, SystemReason(errno));
        if (::rename(pattern.c_str(), file.c_str()) != 0)
            throw IoError(file, SystemReason(errno));
    } catch (...) {
        ::unlink(pattern.c_str());
        throw;
    }
}

// ---- random-access files ----

RandomFile::RandomFile(std::filesystem::path file, int recordLength)
    : m_file(std::move(file)), m_length(recordLength) {
    if (m_length <= 0)
        throw IoError(m_file, "Bad record length");
    Fd fd = OpenOrThrow(m_file, O_RDWR | O_CREAT);
    if (fd.Close() != 0)
        throw IoError(m_file, SystemReason(errno));
}

long RandomFile::Lof() const {
    struct stat st;
    if (::stat(m_file.c_str(), &st) != 0)
        throw IoError(m_file, SystemReason(errno));
    return static_cast<long>(st.st_size);
}

long RandomFile::RecordCount() const {
    return Lof() / m_length;
}

std::string RandomFile::Get(long n, int bytes) const {
    if (n < 1)
        throw IoError(m_file, "Bad record number");
    size_t want = static_cast<size_t>(bytes < 0 ? m_length : bytes);
    std::string out(want, '\0');
    Fd fd = OpenOrThrow(m_file, O_RDONLY);
    off_t offset = static_cast<off_t>(n - 1) * m_length;
    size_t got = 0;
    while (got < want) {
        ssize_t r = ::pread(fd.get(), out.data() + got, want - got, offset + static_cast<off_t>(got));
        if (r < 0 && errno == EINTR)
            continue;
        if (r < 0)
            throw IoError(m_file, SystemReason(errno));
        if (r == 0)
            break; // the rest lies past the end and stays zero
        got += static_cast<size_t>(r);
    }
    return out;
}

void RandomFile::Put(long n, std::string_view bytes) const {
    if (n < 1)
        throw IoError(m_file, "Bad record number");
    Fd fd = OpenOrThrow(m_file, O_WRONLY | O_CREAT);
    WriteAllAt(m_file, fd.get(), bytes, static_cast<off_t>(n - 1) * m_length);
    if (fd.Close() != 0)
        throw IoError(m_file, SystemReason(errno));
}

// ---- record images ----

std::string RecordBuffer::Text(size_t offset, size_t width) const {
    if (offset > m_bytes.size() || width > m_bytes.size() - offset)
        throw std::out_of_range("RecordBuffer::Text past the end of the record");
    return m_bytes.substr(offset, width);
}

void RecordBuffer::SetText(size_t offset, size_t width, std::string_view value) {
    if (offset > m_bytes.size() || width > m_bytes.size() - offset)
        throw std::out_of_range("RecordBuffer::SetText past the end of the record");
    m_bytes.replace(offset, width, Fixed(value, width));
}

float RecordBuffer::Single(size_t offset) const {
    if (offset > m_bytes.size() || m_bytes.size() - offset < sizeof(float))
        throw std::out_of_range("RecordBuffer::Single past the end of the record");
    float value;
    std::memcpy(&value, m_bytes.data() + offset, sizeof value);
    return value;
}

void RecordBuffer::SetSingle(size_t offset, float value) {
    if (offset > m_bytes.size() || m_bytes.size() - offset < sizeof(float))
        throw std::out_of_range("RecordBuffer::SetSingle past the end of the record");
    std::memcpy(m_bytes.data() + offset, &value, sizeof value);
}

// ---- sequential files ----

void SeqLine::Separator() {
    if (!m_line.empty())
        m_line += ',';
}

SeqLine &SeqLine::Text(std::string_view s) {
    Separator();
    m_line += '"';
    for (char c : s)
        m_line += c == '"' ? '\'' : (c == '\r' || c == '\n') ? ' ' : c;
    m_line += '"';
    return *this;
}

SeqLine &SeqLine::Number(float value) {
    Separator();
    m_line += RoundTripText(value);
    return *this;
}

SeqLine &SeqLine::Number(double value) {
    Separator();
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, value);
    m_line.append(buf, res.ptr);
    return *this;
}

SeqLine &SeqLine::Number(int value) {
    Separator();
    m_line += std::to_string(value);
    return *this;
}

SeqLine &SeqLine::DateLit(const Date &d) {
    Separator();
    char buf[32];
    std::snprintf(buf, sizeof buf, "#%04d-%02d-%02d#", d.year, d.month, d.day);
    m_line += buf;
    return *this;
}

SeqLine &SeqLine::TimeLit(const TimeOfDay &t) {
    Separator();
    char buf[32];
    std::snprintf(buf, sizeof buf, "#%02d:%02d:%02d#", t.hour, t.minute, t.second);
    m_line += buf;
    return *this;
}

void AppendLines(const std::filesystem::path &file, const std::vector<SeqLine> &lines) {
    Fd fd = OpenOrThrow(file, O_WRONLY | O_APPEND | O_CREAT);
    WriteAll(file, fd.get(), JoinLines(lines));
    if (fd.Close() != 0)
        throw IoError(file, SystemReason(errno));
}

void AppendLine(const std::filesystem::path &file, const SeqLine &line) {
    AppendLines(file, {line});
}

void WriteLines(const std::filesystem::path &file, const std::vector<SeqLine> &lines) {
    ReplaceFileContent(file, JoinLines(lines));
}

namespace {

bool IsLineEnd(char c) {
    return c == '\r' || c == '\n';
}
bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
bool IsDigitChar(char c) {
    return c >= '0' && c <= '9';
}

// The whole text is a decimal number: sign, digits with one period, optional exponent.
bool IsNumberText(std::string_view t) {
    size_t i = 0;
    if (i < t.size() && (t[i] == '-' || t[i] == '+'))
        ++i;
    bool digit = false, point = false;
    for (; i < t.size(); ++i) {
        if (IsDigitChar(t[i]))
            digit = true;
        else if (t[i] == '.' && !point)
            point = true;
        else
            break;
    }
    if (!digit)
        return false;
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E' || t[i] == 'd' || t[i] == 'D')) {
        ++i;
        if (i < t.size() && (t[i] == '-' || t[i] == '+'))
            ++i;
        if (i >= t.size())
            return false;
        for (; i < t.size(); ++i)
            if (!IsDigitChar(t[i]))
                return false;
    }
    return i == t.size();
}

// #yyyy-mm-dd# or #hh:mm:ss# without the "#" signs.
bool ParseLiteral(std::string_view body, SeqItem &item) {
    int a, b, c;
    char s1, s2;
    std::string text(body);
    int used = 0;
    if (std::sscanf(text.c_str(), "%d%c%d%c%d%n", &a, &s1, &b, &s2, &c, &used) != 5 ||
        used != static_cast<int>(text.size()))
        return false;
    if (s1 == '-' && s2 == '-') {
        Date d{a, b, c};
        if (!IsValidDate(d))
            return false;
        item.kind = SeqItem::Kind::Date;
        item.date = d;
        return true;
    }
    if (s1 == ':' && s2 == ':') {
        if (a < 0 || a > 23 || b < 0 || b > 59 || c < 0 || c > 59)
            return false;
        item.kind = SeqItem::Kind::Time;
        item.time = {a, b, c};
        return true;
    }
    return false;
}

} // namespace

std::vector<SeqItem> ParseSeqText(std::string_view text) {
    std::vector<SeqItem> items;
    size_t pos = 0;
    const size_t n = text.size();
    auto atFieldEnd = [&](size_t p) { return p >= n || text[p] == ',' || IsLineEnd(text[p]); };
    while (pos < n) {
        // One line: fields separated by commas; an empty line reads as one empty text.
        for (;;) {
            while (pos < n && IsBlank(text[pos]))
                ++pos;
            SeqItem item;
            if (pos < n && text[pos] == '"') {
                size_t close = text.find('"', pos + 1);
                if (close == std::string_view::npos)
                    close = n;
                item.text = std::string(text.substr(pos + 1, close - pos - 1));
                pos = std::min(close + 1, n);
                while (!atFieldEnd(pos))
                    ++pos;
            } else {
                size_t start = pos;
                while (!atFieldEnd(pos))
                    ++pos;
                item.text = Trim(text.substr(start, pos - start));
                std::string_view t = item.text;
                if (t.size() >= 2 && t.front() == '#' && t.back() == '#' &&
                    ParseLiteral(t.substr(1, t.size() - 2), item)) {
                    item.text.clear();
                } else if (IsNumberText(t)) {
                    item.kind = SeqItem::Kind::Number;
                    item.number = Val(t);
                }
            }
            items.push_back(std::move(item));
            if (pos < n && text[pos] == ',') {
                ++pos;
                continue;
            }
            break;
        }
        if (pos < n && text[pos] == '\r')
            ++pos;
        if (pos < n && text[pos] == '\n')
            ++pos;
    }
    return items;
}

SeqReader::SeqReader(const std::filesystem::path &file) : m_file(file) {
    int fd;
    do
        fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    while (fd < 0 && errno == EINTR);
    if (fd < 0)
        throw IoError(file, errno == ENOENT ? std::string("File not found") : SystemReason(errno));
    Fd guard(fd);
    m_items = ParseSeqText(ReadAll(file, fd));
}

const SeqItem &SeqReader::Next() {
    if (Eof())
        throw IoError(m_file, "Input past end of file");
    return m_items[m_next++];
}

std::string SeqReader::ReadText() {
    const SeqItem &item = Next();
    switch (item.kind) {
    case SeqItem::Kind::Date:
        return platform::DateText(item.date);
    case SeqItem::Kind::Time:
        return platform::TimeText(item.time);
    default:
        return item.text;
    }
}

double SeqReader::ReadNumber() {
    const SeqItem &item = Next();
    switch (item.kind) {
    case SeqItem::Kind::Number:
        return item.number;
    case SeqItem::Kind::Text:
        return Val(item.text);
    default:
        throw IoError(m_file, "Type mismatch");
    }
}

} // namespace platform
