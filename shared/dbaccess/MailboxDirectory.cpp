#include "dbaccess/MailboxDirectory.h"

#include <algorithm>
#include <cstddef>
#include <set>

#include "dbaccess/DocumentField.h"
#include "dbaccess/MongoDBSearch.h"

namespace {

constexpr std::size_t kNumberWidth = 19;
constexpr int kGuestMailboxType = 5;

// The text right-aligned in kNumberWidth spaces, read in place.
class PaddedNumber {
public:
    explicit PaddedNumber(const std::string& number)
        : number_(number), pad_(number.size() < kNumberWidth ? kNumberWidth - number.size() : 0) {}

    std::size_t size() const { return pad_ + number_.size(); }

    // As std::string compares its characters: unsigned.
    unsigned char operator[](std::size_t i) const {
        return static_cast<unsigned char>(i < pad_ ? ' ' : number_[i - pad_]);
    }

private:
    const std::string& number_;
    const std::size_t pad_;
};

// The hit's element text without surrounding white space; empty when the
// hit lacks the element.
std::string HitText(const DBACCESS::DocumentFields& hit, const std::string& name) {
    const auto found = hit.find(name);
    return found == hit.end() ? std::string() : found->second.value.Get();
}

void FillEntry(DBACCESS::QXMailboxDirectoryEntry& entry, const DBACCESS::DocumentFields& hit) {
    entry.cosname.FromString(HitText(hit, "cosname"));
    entry.description.FromString(HitText(hit, "description"));
    entry.directory.FromString(HitText(hit, "directory"));
    entry.callblocking.FromString(HitText(hit, "callblocking"));
    // The search names the fields of an array's first sub-document
    // "<array>.0.<field>".
    entry.extension.FromString(HitText(hit, "extension.0.definition"));
    entry.firstName.FromString(HitText(hit, "name.first_display"));
    entry.lastName.FromString(HitText(hit, "name.last_display"));
    entry.number.FromString(HitText(hit, "_id"));
    entry.occupied.FromString(HitText(hit, "room.occupied"));
    entry.restrict.FromString(HitText(hit, "room.restrict"));
    entry.roomid.FromString(HitText(hit, "room.roomid"));
    entry.sdafile.FromString(HitText(hit, "sdafile"));
    entry.status.FromString(HitText(hit, "room.status"));
    entry.tenantid.FromString(HitText(hit, "tenantid"));
    entry.textcount.FromString(HitText(hit, "room.textcount"));
    entry.title.FromString(HitText(hit, "name.title"));
    entry.vip.FromString(HitText(hit, "room.vip"));
    entry.created.FromString(HitText(hit, "created"));
    entry.updated.FromString(HitText(hit, "updated"));
}

}  // namespace

bool MailboxNumberLess::operator()(const std::string& a, const std::string& b) const {
    const PaddedNumber left(a);
    const PaddedNumber right(b);
    const std::size_t common = std::min(left.size(), right.size());
    for (std::size_t i = 0; i < common; ++i) {
        if (left[i] != right[i]) return left[i] < right[i];
    }
    return left.size() < right.size();
}

MailboxDirectory LoadMailboxDirectory(const std::string& tenantId, const std::string& collection) {
    static const std::set<std::string> fields = {"_id",
                                                 "tenantid",
                                                 "callblocking",
                                                 "name.title",
                                                 "extension.definition",
                                                 "name.first_display",
                                                 "name.last_display",
                                                 "room.occupied",
                                                 "room.status",
                                                 "room.textcount",
                                                 "room.restrict",
                                                 "room.vip",
                                                 "room.roomid",
                                                 "description",
                                                 "directory",
                                                 "cosname",
                                                 "sdafile",
                                                 "type",
                                                 "created",
                                                 "updated"};

    MailboxDirectory directory;
    DBACCESS::MongoDBSearch search(collection);
    const DBACCESS::SearchHits hits = tenantId.empty()
                                          ? search.Find("_id", fields)
                                          : search.FindEqual("_id", "tenantid", tenantId, fields);
    for (const auto& hit : hits) {
        DBACCESS::QXMailboxDirectoryEntry entry;
        entry.type.FromString(HitText(hit.second, "type"));
        if (HitText(hit.second, "_id").empty() || entry.type.value != kGuestMailboxType) continue;
        FillEntry(entry, hit.second);
        // An "_id" without a digit leaves no number to join rows with.
        const std::string key = entry.number.Get();
        if (!key.empty()) directory.emplace(key, entry);
    }
    return directory;
}

TenantNames LoadTenantNames(const std::string& collection) {
    TenantNames names;
    DBACCESS::MongoDBSearch search(collection);
    for (const auto& hit : search.Find("name", {"_id", "name"})) {
        if (hit.second.count("_id") != 0) names.emplace(HitText(hit.second, "_id"), hit.first);
    }
    return names;
}
