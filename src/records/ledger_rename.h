// Carrying a stay's ledger to a new file name. The ledger's name is built from the guest
// record's room, names and arrival date, so when one of those changes (a move to another
// room, a corrected name, a stay re-opened in another room) the file must follow: every
// line is copied unchanged to the new name and only then is the old file deleted.
//
// A carry never mixes two stays: when a different file already holds the new name (a past
// stay of the same guest in that room with the same arrival date, kept for reprinting),
// nothing is written and the caller must tell the clerk. Callers check first, before they
// write anything else, and carry afterwards.
#pragma once

#include "platform/files.h"

#include <filesystem>

namespace records {

enum class LedgerCarry {
    Ready,          // the old file exists and the new name is free
    SameName,       // the name does not change: nothing to do
    AlreadyCarried, // both files hold the same bytes (an earlier carry stopped before the
                    // delete): only the old file is removed
    Missing,        // there is no old file to carry
    NameTaken,      // another file already has the new name: nothing may be written
};

// What a carry from `from` to `to` would do; writes nothing.
LedgerCarry CheckLedgerCarry(const platform::FilePath& from, const platform::FilePath& to);
// Ready, SameName and AlreadyCarried: the carry can go ahead.
inline bool CarryAllowed(LedgerCarry check) {
    return check == LedgerCarry::Ready || check == LedgerCarry::SameName ||
           check == LedgerCarry::AlreadyCarried;
}

// Carries the ledger when the check allows it and returns the check; for Missing and
// NameTaken nothing is written. The new file is written whole and read back before the old
// one is deleted; a failure on the way throws IoError and leaves the old file as it was.
LedgerCarry CarryStayLedger(const platform::FilePath& from, const platform::FilePath& to);

} // namespace records
