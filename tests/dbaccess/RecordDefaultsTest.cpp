// Every record builds its number fields with their defaults, so that a
// field's initial value is its default and Clear brings that back.

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "DbFixture.h"
#include "dbaccess/QXAddress.h"
#include "dbaccess/QXItem.h"
#include "dbaccess/QXMailbox.h"
#include "dbaccess/QXTemplate.h"
#include "dbaccess/TaskDB.h"
#include "support/NumberDefaults.h"

namespace {

using TESTSUPPORT::Defaults;
using TESTSUPPORT::NumberField;
using TESTSUPPORT::Of;
using TESTSUPPORT::Reload;

class RecordDefaultsTest : public DbFixture {};

TEST_F(RecordDefaultsTest, NumberFieldsStartAndClearToTheirDefaults) {
    TESTSUPPORT::ExpectNumberDefaults({
        {"QXAddress",
         {{"pos", -1}, {"rank", 0}},
         [](const Defaults& defaults, bool reload) {
             DBACCESS::QXAddress r;
             Reload(r, defaults, reload);
             return std::vector<NumberField>{Of(r.pos), Of(r.rank)};
         }},
        {"QXItem",
         {{"pos", -1}},
         [](const Defaults& defaults, bool reload) {
             DBACCESS::QXItem r;
             Reload(r, defaults, reload);
             return std::vector<NumberField>{Of(r.pos)};
         }},
        {"QXTemplate",
         {{"disabled", 0}, {"pos", -1}},
         [](const Defaults& defaults, bool reload) {
             DBACCESS::QXTemplate r;
             Reload(r, defaults, reload);
             return std::vector<NumberField>{Of(r.disabled), Of(r.pos)};
         }},
        {"QXMailbox",
         {{"timezone", -800},
          {"tutorial", 1},
          {"type", -1},
          {"msg_volume", 0},
          {"mwi_line", 0},
          {"locked", 0}},
         [](const Defaults& defaults, bool reload) {
             DBACCESS::QXMailbox r{std::string()};
             Reload(r, defaults, reload);
             return std::vector<NumberField>{Of(r.timezone),  Of(r.tutorial), Of(r.type),
                                             Of(r.msgVolume), Of(r.mwiLine),  Of(r.locked)};
         }},
        {"TaskDB",
         {{"priority", 20}, {"interval", 0}, {"maxretries", 0}, {"retries", 0}, {"tasktype", 0}},
         [](const Defaults& defaults, bool reload) {
             DBACCESS::TaskDB r("taskstest");
             Reload(r, defaults, reload);
             return std::vector<NumberField>{Of(r.priority), Of(r.interval), Of(r.maxretries),
                                             Of(r.retries), Of(r.tasktype)};
         }},
    });
}

}  // namespace
