#include "relaytally/QXRecording.h"

#include <string>

#include <gtest/gtest.h>

#include "RelayFixture.h"

namespace {

using DBACCESS::QXRecording;

class QXRecordingTest : public RelayFixture {};

TEST_F(QXRecordingTest, ReadsARecordingByNumberWithOneFilePerLanguage) {
    Server().Seed("recording", R"([
      {"_id": "r7", "number": 7, "name": "Lobby", "description": "Lobby \"hours\"", "type": 2,
       "files": [
         {"language": 101, "format": 1, "ttstext": "Welcome", "ttsvoice": "Anna"},
         {"language": 101, "format": 2, "ttstext": "Duplicate"},
         {"language": 102, "format": 3, "ttstext": "Bienvenue", "extra": "dropped"},
         "not a document"
       ],
       "owner": "frontdesk"},
      {"_id": "r8", "number": 8, "name": "Spa", "files": [{"format": 4}]},
      {"_id": "r9", "number": 9, "name": "Bar", "files": [{"language": "English", "format": 5}]}
    ])");
    QXRecording lobby(7);
    EXPECT_EQ(lobby.Id(), "r7");
    EXPECT_EQ(lobby.number.value, 7);
    EXPECT_EQ(lobby.name.Get(), "Lobby");
    EXPECT_EQ(lobby.description.Get(), "Lobby hours");  // printable text holds no double quote
    EXPECT_EQ(lobby.type.value, 2);
    ASSERT_EQ(lobby.files.size(), 2u);
    EXPECT_EQ(lobby.files.at(101).format.value, 1);  // the first file of a language stays
    EXPECT_EQ(lobby.files.at(101).ttstext.Get(), "Welcome");
    EXPECT_EQ(lobby.files.at(101).ttsvoice.Get(), "Anna");
    EXPECT_EQ(lobby.files.at(102).ttstext.Get(), "Bienvenue");
    EXPECT_TRUE(lobby.files.at(102).UndeclaredFields().empty());
    // The files array also goes on to the undeclared fields as text.
    EXPECT_EQ(lobby.UndeclaredFields().count("files"), 1u);
    EXPECT_EQ(lobby.UndeclaredFields().count("owner"), 1u);
    EXPECT_FALSE(lobby.IsConnected());

    // A file without a language is the default language's.
    QXRecording spa(8);
    ASSERT_EQ(spa.files.count(101), 1u);
    EXPECT_EQ(spa.files.at(101).format.value, 4);
    // A language that is no number is language 0, not the default.
    QXRecording bar(9);
    ASSERT_EQ(bar.files.count(0), 1u);
    EXPECT_EQ(bar.files.at(0).format.value, 5);
}

TEST_F(QXRecordingTest, NumberIsReadOnlyAfterARead) {
    Server().Seed("recording", R"([{"_id": "r7", "number": 7, "name": "Lobby"}])");
    QXRecording lobby(7);
    lobby.number.Set(9, true);
    EXPECT_EQ(lobby.number.value, 7);

    // The next read loads its own number.
    Server().Seed("recording", R"([{"_id": "r9", "number": 9, "name": "Bar"}])");
    std::string error;
    ASSERT_EQ(lobby.Read(9, error), 0);
    EXPECT_EQ(lobby.number.value, 9);
    EXPECT_EQ(lobby.name.Get(), "Bar");
}

TEST_F(QXRecordingTest, AskedByNumberAsA32BitInteger) {
    Server().Seed("recording", R"([{"_id": "text", "number": "12", "name": "Stored as text"},
                                   {"_id": "long", "number": {"$numberLong": "13"}, "name": "Long"}])");
    std::string error = "old";
    QXRecording asText(0);
    EXPECT_EQ(asText.Read(12, error), -47);
    EXPECT_EQ(error, "");
    EXPECT_EQ(asText.name.Get(), "");
    EXPECT_EQ(asText.Id(), "");

    const auto queries = RequestsOf("query", "kelden.recording");
    ASSERT_FALSE(queries.empty());
    EXPECT_NE(queries.back().find("\"query\": {\"number\": 12}"), std::string::npos)
        << queries.back();
    EXPECT_NE(queries.back().find("\"limit\": 1"), std::string::npos) << queries.back();

    // The server compares numbers by value, whatever their width.
    EXPECT_EQ(QXRecording(13).name.Get(), "Long");

    DBACCESS::DatabaseName.clear();
    QXRecording offline(13);
    EXPECT_EQ(offline.Read(13, error), -50);
    EXPECT_EQ(offline.name.Get(), "");
}

}  // namespace
