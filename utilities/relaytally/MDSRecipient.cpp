#include "relaytally/MDSRecipient.h"

#include "dbaccess/FieldLoading.h"

namespace DBACCESS {

MDSRecipient::MDSRecipient(int activityCode, const std::string& mailboxText,
                           const std::string& roomText, const std::string& nameText,
                           bool isCompleted)
    : activity("activity", 0, 0, 0),
      mailbox("mailbox", 0),
      name("name", 0),
      room("room", 0),
      completed("completed", false, false) {
    Clear();
    activity.Set(activityCode, true);
    completed.Set(isCompleted, true);
    mailbox.FromString(mailboxText);
    name.FromString(nameText);
    room.FromString(roomText);
}

MDSRecipient::~MDSRecipient() = default;

void MDSRecipient::Clear() {
    activity.value = activity.initialValue;
    mailbox.value = mailbox.initialValue;
    name.value = name.initialValue;
    room.value = room.initialValue;
    completed.value = completed.initialValue;
}

bool MDSRecipient::SetField(const std::string& fieldName, const std::string& text) {
    return !AssignNamedField(fieldName, text, activity, mailbox, name, room, completed);
}

}  // namespace DBACCESS
