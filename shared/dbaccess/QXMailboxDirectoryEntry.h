#pragma once

#include "runtime/BaseStrVar.h"
#include "runtime/ValueVar.h"

namespace DBACCESS {

// The summary of one mailbox that the reports join their rows with, as
// LoadMailboxDirectory fills it from a search hit. Every field starts empty,
// 0 or false, without a name or a length limit.
class QXMailboxDirectoryEntry {
public:
    QXMailboxDirectoryEntry();
    QXMailboxDirectoryEntry(const QXMailboxDirectoryEntry& other);
    QXMailboxDirectoryEntry& operator=(const QXMailboxDirectoryEntry& other) = default;
    virtual ~QXMailboxDirectoryEntry();

    CORVANE::BaseStrVar<CORVANE::SafeStrModifier> cosname;
    CORVANE::BaseStrVar<CORVANE::PrintableStrModifier> description;
    CORVANE::ValueVar<bool> directory;
    CORVANE::ValueVar<bool> callblocking;
    CORVANE::BaseStrVar<CORVANE::NumberStrModifier> extension;  // of the first "extension" entry
    CORVANE::BaseStrVar<CORVANE::PrintableStrModifier> title;
    CORVANE::BaseStrVar<CORVANE::PrintableStrModifier> firstName;
    CORVANE::BaseStrVar<CORVANE::PrintableStrModifier> lastName;
    CORVANE::BaseStrVar<CORVANE::NumberStrModifier> number;  // the mailbox number, from "_id"
    CORVANE::BaseStrVar<CORVANE::SafeStrModifier> sdafile;
    CORVANE::BaseStrVar<CORVANE::SafeStrModifier> tenantid;
    CORVANE::ValueVar<int> type;
    CORVANE::BaseStrVar<CORVANE::NumberStrModifier> created;
    CORVANE::BaseStrVar<CORVANE::NumberStrModifier> updated;
    CORVANE::ValueVar<bool> occupied;
    CORVANE::ValueVar<int> status;
    CORVANE::ValueVar<int> textcount;
    CORVANE::ValueVar<bool> vip;
    CORVANE::BaseStrVar<CORVANE::SafeStrModifier> restrict;
    CORVANE::BaseStrVar<CORVANE::PrintableStrModifier> roomid;  // the room shown in reports
};

}  // namespace DBACCESS
