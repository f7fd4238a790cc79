// Every record builds its number fields with their defaults, so that a
// field's initial value is its default and Clear brings that back.

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "DbFixture.h"
#include "dbaccess/MDSActivity.h"
#include "dbaccess/MDSActivityDB.h"
#include "dbaccess/QXAddress.h"
#include "dbaccess/QXItem.h"
#include "dbaccess/QXMailbox.h"
#include "dbaccess/QXRecording.h"
#include "dbaccess/QXTemplate.h"
#include "dbaccess/RecordingFile.h"
#include "dbaccess/TaskDB.h"
#include "dbaccess/WakeupLogDB.h"
#include "runtime/ValueVar.h"

namespace {

// Field name to default.
using Defaults = std::map<std::string, int>;

struct NumberField {
    std::string name;
    int initial;
    int value;
    bool readOnly;
};

template <typename T>
NumberField Of(const CORVANE::ValueVar<T>& field) {
    return {field.name, static_cast<int>(field.initialValue), static_cast<int>(field.value),
            field.readOnly};
}

// With reload, every field of defaults is first loaded from a document text
// (which makes some of them read-only) and the record is then cleared.
template <class Record>
void Reload(Record& record, const Defaults& defaults, bool reload) {
    if (!reload) return;
    for (const auto& field : defaults) record.SetField(field.first, "7");
    record.Clear();
}

struct RecordCase {
    const char* record;
    Defaults defaults;
    std::function<std::vector<NumberField>(const Defaults&, bool reload)> fields;
};

class RecordDefaultsTest : public DbFixture {};

TEST_F(RecordDefaultsTest, NumberFieldsStartAndClearToTheirDefaults) {
    const RecordCase cases[] = {
        {"WakeupLogDB",
         {{"action", -1}, {"count", 0}, {"line", -1}, {"promptid", 0}, {"result", -1},
          {"source", -1}},
         [](const Defaults& defaults, bool reload) {
             DBACCESS::WakeupLogDB r{std::string()};
             Reload(r, defaults, reload);
             return std::vector<NumberField>{Of(r.action), Of(r.count), Of(r.line),
                                             Of(r.promptid), Of(r.result), Of(r.source)};
         }},
        {"QXRecording",
         {{"number", 0}, {"type", 0}},
         [](const Defaults& defaults, bool reload) {
             DBACCESS::QXRecording r(5);
             Reload(r, defaults, reload);
             return std::vector<NumberField>{Of(r.number), Of(r.type)};
         }},
        {"RecordingFile",
         {{"language", 101}, {"format", 0}},
         [](const Defaults& defaults, bool reload) {
             DBACCESS::RecordingFile r;
             Reload(r, defaults, reload);
             return std::vector<NumberField>{Of(r.language), Of(r.format)};
         }},
        {"MDSActivityDB",
         {{"calloptions", 0}, {"confirm", 0}, {"delafterpost", 0}, {"daysbeforecheckout", 0},
          {"language", 101}, {"operator", 0}, {"type", 0}, {"urgent", 0}},
         [](const Defaults& defaults, bool reload) {
             DBACCESS::MDSActivityDB r;
             Reload(r, defaults, reload);
             return std::vector<NumberField>{Of(r.calloptions), Of(r.confirm),
                                             Of(r.delafterpost), Of(r.daysbeforecheckout),
                                             Of(r.language), Of(r.operator_),
                                             Of(r.type), Of(r.urgent)};
         }},
        {"MDSActivity",
         {{"activity", 0}},
         [](const Defaults& defaults, bool reload) {
             DBACCESS::MDSActivity r;
             Reload(r, defaults, reload);
             return std::vector<NumberField>{Of(r.activity)};
         }},
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
         {{"timezone", -800}, {"tutorial", 1}, {"type", -1}, {"msg_volume", 0},
          {"mwi_line", 0}, {"locked", 0}},
         [](const Defaults& defaults, bool reload) {
             DBACCESS::QXMailbox r{std::string()};
             Reload(r, defaults, reload);
             return std::vector<NumberField>{Of(r.timezone), Of(r.tutorial), Of(r.type),
                                             Of(r.msgVolume), Of(r.mwiLine), Of(r.locked)};
         }},
        {"TaskDB",
         {{"priority", 20}, {"interval", 0}, {"maxretries", 0}, {"retries", 0},
          {"tasktype", 0}},
         [](const Defaults& defaults, bool reload) {
             DBACCESS::TaskDB r("taskstest");
             Reload(r, defaults, reload);
             return std::vector<NumberField>{Of(r.priority), Of(r.interval), Of(r.maxretries),
                                             Of(r.retries), Of(r.tasktype)};
         }},
    };
    for (const RecordCase& c : cases) {
        for (const bool reload : {false, true}) {
            const std::vector<NumberField> fields = c.fields(c.defaults, reload);
            ASSERT_EQ(fields.size(), c.defaults.size()) << c.record;
            for (const NumberField& field : fields) {
                const std::string where = std::string(c.record) + " \"" + field.name + "\"" +
                                          (reload ? " after Clear" : " as built");
                ASSERT_EQ(c.defaults.count(field.name), 1u) << where;
                const int expected = c.defaults.at(field.name);
                EXPECT_EQ(field.initial, expected) << where;
                EXPECT_EQ(field.value, expected) << where;
                // Clear makes a field loaded as read-only writable again.
                EXPECT_TRUE(!reload || !field.readOnly) << where;
            }
        }
    }
}

}  // namespace
