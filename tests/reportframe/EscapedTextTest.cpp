#include "reportframe/EscapedText.h"

#include <string>

#include <gtest/gtest.h>

namespace {

TEST(EscapedTextTest, ControlCharactersAreWrittenOutAndNothingElse) {
    const struct {
        std::string text;
        const char* shown;
    } cases[] = {
        {"a@b.c\nevil: line", "a@b.c\\nevil: line"},
        {"\r\t", "\\r\\t"},
        {std::string("nul\0", 4) + "\x1b[31m\x7f\x1f", "nul\\x00\\x1b[31m\\x7f\\x1f"},
        {"C:\\temp\\rapport-\xC3\xA9t\xC3\xA9.csv ~\"`",
         "C:\\temp\\rapport-\xC3\xA9t\xC3\xA9.csv ~\"`"},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EscapeControls(c.text), c.shown);
    }
}

}  // namespace
