// A delivery or recording read that the server refuses raises the refusal;
// one that finds no document is "not found".

#include "support/Refusal.h"

#include <gtest/gtest.h>

#include "RelayFixture.h"
#include "relaytally/MDSActivityDB.h"
#include "relaytally/QXRecording.h"

namespace {

using RefusalTest = RelayFixture;

TEST_F(RefusalTest, RecordReadsRaiseTheRefusalWhileAMissingDocumentStaysNotFound) {
    TESTSUPPORT::ExpectRefusedReads({
        {"delivery", "mdsactivity", [] { return !DBACCESS::MDSActivityDB("d1").GetId().empty(); }},
        {"recording", "recording", [] { return !DBACCESS::QXRecording(7).Id().empty(); }},
    });
}

}  // namespace
