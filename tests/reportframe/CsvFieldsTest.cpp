#include "reportframe/CsvFields.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/CsvLine.h"

namespace {

using TESTSUPPORT::CsvFieldsOf;

TEST(CsvFieldTest, QuotesEveryFieldAndDoublesInnerQuotes) {
    const struct {
        std::string text;
        std::string field;
    } cases[] = {
        {"", "\"\","},
        {"101A", "\"101A\","},
        {"a,b", "\"a,b\","},
        {"Main \"North\" Wing", "\"Main \"\"North\"\" Wing\","},
        {"\"", "\"\"\"\","},
        {"\"\"", "\"\"\"\"\"\","},
        {"  padded  ", "\"  padded  \","},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CsvField(c.text), c.field) << c.text;
    }
}

TEST(CsvFieldTest, LineOfFieldsReadsBackWhole) {
    const std::vector<std::string> texts = {"2024-04-11 09:15:00", "Caf\xc3\xa9 \"Le Port\"", "",
                                            "x,\"y\",z", "\"quoted\""};
    std::string line;
    for (const auto& text : texts) {
        line += CsvField(text);
    }
    std::vector<std::string> expected = texts;
    expected.push_back("");  // the comma after the last field
    EXPECT_EQ(CsvFieldsOf(line), expected);
}

TEST(CsvHeaderTest, UntranslatedTitlesInOrder) {
    EXPECT_EQ(CsvHeader({"Timestamp", "Mailbox", "To From"}),
              "\"Timestamp\",\"Mailbox\",\"To From\",");
    EXPECT_EQ(CsvHeader({}), "");
}

}  // namespace
