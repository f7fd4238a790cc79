#include <string>

#include <gtest/gtest.h>

#include "dbaccess/DatabaseName.h"

namespace {

// An object of no start-up step, as every object of the programs' own
// files is: the database name is one of the shared constants, built before
// it and destroyed after it.
struct StaticReader {
    StaticReader() : databaseName(DBACCESS::DatabaseName) {}
    std::string databaseName;
};

StaticReader staticReader;

TEST(StartupOrderTest, ObjectsWithoutAStepFindTheDatabaseName) {
    EXPECT_EQ(staticReader.databaseName, "kelden");
}

}  // namespace
