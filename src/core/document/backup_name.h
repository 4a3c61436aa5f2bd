#pragma once

// The name of the backup copy taken when a document is opened.

#include <functional>
#include <string>

namespace tarvellite {

/// How backup copies are named (`BackupOption`).
struct BackupNaming {
    /// Off: the stem gets "(copy)".
    bool uniqueFileName = false;
    /// With `uniqueFileName`: 0 a unique number, 1 the date and time.
    int nameFormat = 0;
};

/// A local date and time.
struct LocalTime {
    int year, month, day, hour, minute, second;
};

/// The backup copy's file name for the document `documentPath` (only its file-name part
/// counts: "/home/u/v1.2/notes" has no extension): its stem, a suffix, then its extension from
/// its last full stop — "(copy)"; the year, month, day, hour, minute and second run together
/// without padding (2024371359); or `uniqueNumber` in hexadecimal. When `exists` says the name
/// is taken, "-2", "-3", … follow the suffix, so that an earlier backup is never overwritten.
std::string backupFileName(const std::string &documentPath, const BackupNaming &naming,
                           const LocalTime &now, unsigned uniqueNumber,
                           const std::function<bool(const std::string &)> &exists);

} // namespace tarvellite
