// The delivery and recording records build their number fields with their
// defaults, so that a field's initial value is its default and Clear brings
// that back.

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "RelayFixture.h"
#include "relaytally/MDSActivity.h"
#include "relaytally/MDSActivityDB.h"
#include "relaytally/QXRecording.h"
#include "relaytally/RecordingFile.h"
#include "support/NumberDefaults.h"

namespace {

using TESTSUPPORT::Defaults;
using TESTSUPPORT::NumberField;
using TESTSUPPORT::Of;
using TESTSUPPORT::Reload;

class RecordDefaultsTest : public RelayFixture {};

TEST_F(RecordDefaultsTest, NumberFieldsStartAndClearToTheirDefaults) {
    TESTSUPPORT::ExpectNumberDefaults({
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
         {{"calloptions", 0},
          {"confirm", 0},
          {"delafterpost", 0},
          {"daysbeforecheckout", 0},
          {"language", 101},
          {"operator", 0},
          {"type", 0},
          {"urgent", 0}},
         [](const Defaults& defaults, bool reload) {
             DBACCESS::MDSActivityDB r;
             Reload(r, defaults, reload);
             return std::vector<NumberField>{
                 Of(r.calloptions), Of(r.confirm),   Of(r.delafterpost), Of(r.daysbeforecheckout),
                 Of(r.language),    Of(r.operator_), Of(r.type),         Of(r.urgent)};
         }},
        {"MDSActivity",
         {{"activity", 0}},
         [](const Defaults& defaults, bool reload) {
             DBACCESS::MDSActivity r;
             Reload(r, defaults, reload);
             return std::vector<NumberField>{Of(r.activity)};
         }},
    });
}

}  // namespace
