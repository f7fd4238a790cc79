#include "reportframe/MailTaskTexts.h"

#include <string>

#include <gtest/gtest.h>

namespace {

TEST(EmailListRefusal, TakesAnyTextWithAnAddressTheTaskKeepsWhole) {
    for (const char* list : {"desk@hotel.example", "a@x;b@y", " a@x ", "a@x;;", ";a@x", "a@x; b@y",
                             "~!#$%^&*()_+-={}[]|\\:;'<>?,./ x"}) {
        EXPECT_EQ(EmailListRefusal(list), "") << list;
    }
}

TEST(EmailListRefusal, RefusesTextsWithoutAnAddressOrThatTheTaskWouldChange) {
    const struct {
        const char* list;
        const char* refusal;
    } cases[] = {
        {";;", "-email \";;\" holds no e-mail address"},
        {" ", "-email \" \" holds no e-mail address"},
        {"; ;\t;", "-email \"; ;\t;\" holds no e-mail address"},
        {"j\xC3\xBCrgen@hotel.example",
         "cannot mail to \"j\xC3\xBCrgen@hotel.example\": the mail task takes addresses in "
         "printable ASCII only, without '\"' and '`'"},
        {"a@x;\"b\"@y",
         "cannot mail to \"a@x;\"b\"@y\": the mail task takes addresses in printable ASCII only, "
         "without '\"' and '`'"},
        {"a@x\tb@y",
         "cannot mail to \"a@x\tb@y\": the mail task takes addresses in printable ASCII only, "
         "without '\"' and '`'"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EmailListRefusal(c.list), c.refusal) << c.list;
    }
}

TEST(MailPathRefusal, RefusesPathsTheTaskWouldNameChanged) {
    const std::string rule =
        ": the mail task takes file paths in printable ASCII only, without '\"' and '`', with no "
        "blank at either end";
    const struct {
        std::string path;
        bool refused;
    } cases[] = {
        {"/tmp/GA202612101144-2.csv", false},
        {"/srv/q/reports/guest report (1).csv", false},
        {"/tmp/rapport-\xC3\xA9t\xC3\xA9.csv", true},
        {"/tmp/r.csv ", true},
        {"/tmp/it's \"here\".csv", true},
        {"/tmp/a`b.csv", true},
        {"/tmp/line\nbreak.csv", true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MailPathRefusal(c.path), c.refused ? "cannot mail " + c.path + rule : "")
            << c.path;
    }
}

}  // namespace
