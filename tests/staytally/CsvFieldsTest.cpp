#include "reportframe/CsvFields.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Reads one line the way an RFC 4180 reader does: quoted fields, a doubled
// quote inside one standing for a quote, fields separated by commas.
std::vector<std::string> ReadCsvLine(const std::string& line) {
    std::vector<std::string> fields;
    std::string field;
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            fields.push_back(field);
            field.clear();
        } else {
            field += c;
        }
    }
    fields.push_back(field);
    return fields;
}

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
    EXPECT_EQ(ReadCsvLine(line), expected);
}

TEST(CsvHeaderTest, UntranslatedTitlesInOrder) {
    EXPECT_EQ(CsvHeader({"Timestamp", "Mailbox", "To From"}),
              "\"Timestamp\",\"Mailbox\",\"To From\",");
    EXPECT_EQ(CsvHeader({}), "");
}

}  // namespace
