#include "dbaccess/QXEntryIndex.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "DbFixture.h"
#include "dbaccess/QXAddressIndex.h"
#include "dbaccess/QXItemIndex.h"
#include "dbaccess/QXMailbox.h"
#include "dbaccess/QXTemplateIndex.h"
#include "support/TestServer.h"

namespace {

using DBACCESS::QXAddress;
using DBACCESS::QXAddressIndex;
using DBACCESS::QXItem;
using DBACCESS::QXItemIndex;
using DBACCESS::QXMailbox;
using TESTSUPPORT::TestServer;

// Position -> the entry's first text field, for comparing whole lists.
using Listing = std::map<int, std::string>;

template <class Index, class Text>
Listing List(const Index& index, Text text) {
    Listing listing;
    for (const auto& stored : index.Stored()) {
        EXPECT_EQ(stored.first, stored.second.pos.value);
        listing[stored.first] = text(stored.second);
    }
    return listing;
}

Listing Addresses(const QXAddressIndex& index) {
    return List(index, [](const QXAddress& a) { return a.definition.Get(); });
}

std::string Entries(int count) {
    std::string json;
    for (int i = 0; i < count; ++i)
        json += (i ? ", " : "") + std::string("{\"definition\": \"a") + std::to_string(i) + "\"}";
    return json;
}

// Entries loaded from a stored mailbox array.
class QXEntryIndexLoadTest : public DbFixture {
protected:
    static std::unique_ptr<QXMailbox> ReadWith(const std::string& elements) {
        TestServer::Get().Seed("mailbox", "[{\"_id\": \"101\", " + elements + "}]");
        auto mailbox = std::make_unique<QXMailbox>("101");
        EXPECT_EQ("", mailbox->LastError());
        return mailbox;
    }
};

TEST_F(QXEntryIndexLoadTest, StoredPositionsAreKeptAndOthersTakeTheLowestFree) {
    const struct {
        const char* what;
        const char* array;
        Listing expected;
    } cases[] = {
        {"no positions",
         R"([{"definition": "a"}, {"definition": "b"}, {"definition": "c"}])",
         {{0, "a"}, {1, "b"}, {2, "c"}}},
        {"5 and 2, then none",
         R"([{"definition": "a", "pos": 5}, {"definition": "b", "pos": 2}, {"definition": "c"}])",
         {{0, "c"}, {2, "b"}, {5, "a"}}},
        {"0 and 1, then none",
         R"([{"definition": "a", "pos": 0}, {"definition": "b", "pos": 1}, {"definition": "c"}])",
         {{0, "a"}, {1, "b"}, {2, "c"}}},
        {"1 and 2, then none",
         R"([{"definition": "a", "pos": 1}, {"definition": "b", "pos": 2}, {"definition": "c"}])",
         {{0, "c"}, {1, "a"}, {2, "b"}}},
        {"the same position twice",
         R"([{"definition": "a", "pos": 3}, {"definition": "b", "pos": 3}])",
         {{3, "a"}}},
        {"a position beyond the maximum",
         R"([{"definition": "a", "pos": 40}, {"definition": "b"}])",
         {{0, "b"}, {40, "a"}}},
        {"a position as text", R"([{"definition": "a", "pos": "7"}])", {{7, "a"}}},
        {"an element that is no sub-document",
         R"([{"definition": "a"}, "b@example.com", 12, {"definition": "c"}])",
         {{0, "a"}, {1, "c"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TestServer::Get().Reset();
        const auto mailbox = ReadWith(std::string("\"email\": ") + c.array);
        EXPECT_EQ(c.expected, Addresses(mailbox->email));
        // The rest of the mailbox loads whatever the list held.
        EXPECT_EQ("101", mailbox->number.Get());
    }
}

TEST_F(QXEntryIndexLoadTest, FullListsKeepTheirFirstEntries) {
    const auto mailbox = ReadWith("\"email\": [" + Entries(31) + "], \"prompts\": [" + Entries(11) +
                                  "], \"evt\": [" + Entries(21) + "]");
    const Listing email = Addresses(mailbox->email);
    ASSERT_EQ(30u, email.size());
    EXPECT_EQ("a0", email.begin()->second);
    EXPECT_EQ(29, email.rbegin()->first);
    EXPECT_EQ("a29", email.rbegin()->second);
    EXPECT_EQ(10u, mailbox->prompts.Stored().size());
    EXPECT_EQ(20u, mailbox->evt.Stored().size());
}

TEST_F(QXEntryIndexLoadTest, ItemAndTemplateListsSkipElementsThatAreNoSubDocument) {
    const auto mailbox = ReadWith(
        R"("prompts": [{"data": "hello"}, "stray", {"data": "bye"}],
           "msg": [{"filepath": "A.WAV"}, ["x"], {"filepath": "B.WAV", "pos": 6}])");
    EXPECT_EQ((Listing{{0, "hello"}, {1, "bye"}}),
              List(mailbox->prompts, [](const QXItem& i) { return i.data.Get(); }));
    EXPECT_EQ((Listing{{0, "a.wav"}, {6, "b.wav"}}),
              List(mailbox->msg, [](const DBACCESS::QXTemplate& t) { return t.filepath.Get(); }));
}

TEST_F(QXEntryIndexLoadTest, EntriesDropElementsTheyDoNotDeclare) {
    const auto mailbox = ReadWith(
        R"("phone": [{"definition": "5551234", "extra_data": "ext 9", "colour": "red",
                      "note": {"a": 1}, "rank": 2}],
           "folders": [{"data": "saved", "owner": "x"}])");
    const QXAddress& phone = mailbox->phone.Stored().at(0);
    EXPECT_EQ("5551234", phone.definition.Get());
    EXPECT_EQ("ext 9", phone.extraData.Get());
    EXPECT_EQ(2, phone.rank.value);
    EXPECT_TRUE(phone.UndeclaredFields().empty());
    EXPECT_TRUE(mailbox->folders.Stored().at(0).UndeclaredFields().empty());
    EXPECT_TRUE(mailbox->UndeclaredFields().empty());
}

// Entries the program adds itself.
TEST(QXEntryIndexAddTest, AddedEntriesTakeTheLowestFreePosition) {
    QXAddressIndex index(3);
    QXAddress entry;
    entry.definition.Set("a");
    EXPECT_TRUE(index.Add(entry));
    EXPECT_TRUE(index.Add(entry));
    EXPECT_TRUE(index.Add(entry));
    EXPECT_FALSE(index.Add(entry));
    EXPECT_EQ((Listing{{0, "a"}, {1, "a"}, {2, "a"}}), Addresses(index));
    // The list stores copies: the entry itself keeps its unset position.
    EXPECT_EQ(-1, entry.pos.value);

    index.Clear();
    EXPECT_TRUE(index.Stored().empty());
    EXPECT_EQ(3u, index.Maximum());
    EXPECT_TRUE(index.Add(entry));
}

TEST(QXEntryIndexAddTest, LoadedEntryKeepsItsPositionThroughCopies) {
    QXAddress loaded;
    loaded.Clear();
    loaded.SetField("pos", "4");
    loaded.SetField("definition", "x");
    ASSERT_TRUE(loaded.pos.readOnly);
    QXAddress copy(loaded);
    EXPECT_TRUE(copy.pos.readOnly);
    EXPECT_EQ(4, copy.pos.Set(0, true));

    QXAddressIndex index(30);
    EXPECT_TRUE(index.Add(copy));
    // A second entry for a position that is taken is dropped, yet reported
    // as stored.
    QXAddress other;
    other.SetField("pos", "4");
    other.SetField("definition", "y");
    EXPECT_TRUE(index.Add(other));
    EXPECT_EQ((Listing{{4, "x"}}), Addresses(index));

    loaded.Clear();
    EXPECT_FALSE(loaded.pos.readOnly);
    EXPECT_EQ(-1, loaded.pos.value);
}

TEST(QXEntryIndexAddTest, ItemListsDefaultToTenEntriesAndCopyWhole) {
    QXItemIndex items;
    EXPECT_EQ(10u, items.Maximum());
    QXItem item;
    item.data.Set("greeting");
    ASSERT_TRUE(items.Add(item));

    QXItemIndex copy;
    copy = items;
    ASSERT_EQ(1u, copy.Stored().size());
    EXPECT_EQ("greeting", copy.Stored().at(0).data.Get());
    EXPECT_EQ(10u, copy.Maximum());
}

}  // namespace
