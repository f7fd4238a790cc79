#include "dbaccess/QXName.h"

#include <functional>
#include <string>

#include <gtest/gtest.h>

namespace {

using DBACCESS::QXName;

TEST(QXNameTest, FieldsKeepTheirLimitsCharactersAndCase) {
    const struct {
        const char* field;
        std::string stored;
        std::string expected;
        std::function<std::string(const QXName&)> value;
    } cases[] = {
        {"first_display", "Maximilian-Alexander-Johannes", "Maximilian-Alexander-Joh",
         [](const QXName& n) { return n.firstDisplay.Get(); }},
        {"last_display", "McDonald", "McDonald",
         [](const QXName& n) { return n.lastDisplay.Get(); }},
        {"title", std::string(35, 't'), std::string(29, 't'),
         [](const QXName& n) { return n.title.Get(); }},
        {"first_dtmf", "62*#abCDxyz9", "62*#abCD9",
         [](const QXName& n) { return n.firstDtmf.Get(); }},
        {"last_dtmf", "555", "555", [](const QXName& n) { return n.lastDtmf.Get(); }},
        {"lc_first", "MAXIMILIAN", "maximilian", [](const QXName& n) { return n.lcFirst.Get(); }},
        {"lc_last", "McDonald-Smith-Hamilton-Jones", "mcdonald-smith-hamilton-",
         [](const QXName& n) { return n.lcLast.Get(); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.field);
        QXName name;
        name.Clear();
        EXPECT_FALSE(name.SetField(c.field, c.stored));
        EXPECT_EQ(c.expected, c.value(name));
        EXPECT_TRUE(name.UndeclaredFields().empty());
    }
}

}  // namespace
