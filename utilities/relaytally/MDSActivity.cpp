#include "relaytally/MDSActivity.h"

#include "dbaccess/FieldLoading.h"

namespace DBACCESS {

MDSActivity::MDSActivity() : detail("detail", 0)
{
    Clear();
}

MDSActivity::~MDSActivity() = default;

void MDSActivity::Clear()
{
    activity = CORVANE::ValueVar<int>("activity", 0, 0, 0);
    detail.value = detail.initialValue;
    mailbox = CORVANE::BaseStrVar<CORVANE::SafeStrModifier>("mailbox", 20);
    number = CORVANE::BaseStrVar<CORVANE::SafeStrModifier>("number", 60);
    timestamp = CORVANE::BaseStrVar<CORVANE::NumberStrModifier>("timestamp", 60);
}

bool MDSActivity::SetField(const std::string& name, const std::string& text)
{
    return !AssignNamedField(name, text, activity, detail, mailbox, number, timestamp);
}

}  // namespace DBACCESS
