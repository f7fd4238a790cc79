#include "dbaccess/QXMailboxDirectoryEntry.h"

namespace DBACCESS {

QXMailboxDirectoryEntry::QXMailboxDirectoryEntry() = default;

QXMailboxDirectoryEntry::QXMailboxDirectoryEntry(const QXMailboxDirectoryEntry& other) = default;

QXMailboxDirectoryEntry::~QXMailboxDirectoryEntry() = default;

}  // namespace DBACCESS
