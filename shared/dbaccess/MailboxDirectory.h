#pragma once

#include <map>
#include <string>

#include "dbaccess/QXMailboxDirectoryEntry.h"

// Orders mailbox numbers as right-aligned texts of width 19, so that digit
// strings sort by value ("99" before "100") while a leading zero still makes
// a different number ("101" before "0101"). Longer texts compare unpadded.
struct MailboxNumberLess {
    bool operator()(const std::string& a, const std::string& b) const;
};

// Mailbox number (trimmed) to its summary.
using MailboxDirectory =
    std::map<std::string, DBACCESS::QXMailboxDirectoryEntry, MailboxNumberLess>;

// Tenant id (trimmed) to tenant name.
using TenantNames = std::map<std::string, std::string>;

// The mailboxes of type 5 of collection, with one search; an empty tenant
// id takes every tenant's. The first mailbox met for a number is kept. No
// connection or no match gives an empty directory; what the search raises
// (a refusal, a broken exchange) passes on.
MailboxDirectory LoadMailboxDirectory(const std::string& tenantId, const std::string& collection);

// Tenant ids of collection to their names, with one search; tenants without
// a name are left out and an id met twice keeps its first name. No
// connection gives an empty map; what the search raises passes on.
TenantNames LoadTenantNames(const std::string& collection);
