#include "relaytally/MDSActivity.h"

#include "dbaccess/FieldLoading.h"

namespace DBACCESS {

MDSActivity::MDSActivity()
    : activity("activity", 0, 0, 0),
      detail("detail", 0),
      mailbox("mailbox", 20),
      number("number", 60),
      timestamp("timestamp", 60) {}

MDSActivity::~MDSActivity() = default;

void MDSActivity::Clear() {
    ResetFields(activity, mailbox, number, timestamp);
    detail.value = detail.initialValue;
}

bool MDSActivity::SetField(const std::string& name, const std::string& text) {
    return !AssignNamedField(name, text, activity, detail, mailbox, number, timestamp);
}

}  // namespace DBACCESS
