// Carrying a stay's ledger to a new file name without losing a line.
#include "records/ledger_rename.h"

#include "platform/files.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

namespace records {

namespace {

std::string ReadWholeFile(const platform::FilePath& file) {
    std::optional<std::string> bytes = platform::ReadFile(file);
    if (!bytes)
        throw platform::IoError(file, std::strerror(ENOENT));
    return *bytes;
}

bool SameFileName(const platform::FilePath& a, const platform::FilePath& b) {
    return platform::NormalPath(a.path()).native() == platform::NormalPath(b.path()).native();
}

} // namespace

LedgerCarry CheckLedgerCarry(const platform::FilePath& from, const platform::FilePath& to) {
    if (SameFileName(from, to))
        return LedgerCarry::SameName;
    if (!platform::FileExists(from))
        return LedgerCarry::Missing;
    if (!platform::FileExists(to))
        return LedgerCarry::Ready;
    return ReadWholeFile(from) == ReadWholeFile(to) ? LedgerCarry::AlreadyCarried : LedgerCarry::NameTaken;
}

LedgerCarry CarryStayLedger(const platform::FilePath& from, const platform::FilePath& to) {
    const LedgerCarry check = CheckLedgerCarry(from, to);
    if (check == LedgerCarry::Ready) {
        const std::string lines = ReadWholeFile(from);
        platform::ReplaceFileContent(to, lines);
        if (ReadWholeFile(to) != lines) {
            platform::DeleteFile(to);
            throw platform::IoError(to, "The copy of the ledger does not match the original");
        }
    }
    if (check == LedgerCarry::Ready || check == LedgerCarry::AlreadyCarried)
        platform::DeleteFile(from);
    return check;
}

} // namespace records
