#ifndef DBACCESS_POSTWICKPOST_H
#define DBACCESS_POSTWICKPOST_H

#include <string>

#include "dbaccess/TaskDB.h"
#include "runtime/BaseStrVar.h"
#include "runtime/ValueVar.h"

namespace CORVANE {
namespace LIBMTA {

// A mail task for the product's mail sender, stored in "taskspostwick".
// Fill the fields through their value-variable operations: Write sends only
// those whose changed flag is set.
class PostwickPost : public DBACCESS::TaskDB
{
public:
    PostwickPost();
    ~PostwickPost() override;

    // The task fields back to their defaults, then every mail field empty
    // (autodelete false).
    void Clear() override;
    // The mail fields are taken (false); other names go to TaskDB.
    bool SetField(const std::string& name, const std::string& text) override;

    // Stores the task with its changed mail fields (see TaskDB::RealWrite
    // for the results) and, when it was stored, wakes the mail sender by
    // releasing its semaphore "POSTWICK_SEND_QUEUE" once. A sender that is
    // not running (no semaphore) leaves the task waiting in the collection.
    int Write(std::string& errorText) override;

    BaseStrVar<SafeStrModifier> alertsource;
    BaseStrVar<SafeStrModifier> alertreason;
    BaseStrVar<SafeStrModifier> alertdata;
    BaseStrVar<SafeStrModifier> sendermailbox;
    BaseStrVar<SafeStrModifier> remotemailbox;
    BaseStrVar<SafeStrModifier> emailaddress;  // recipients, separated by ";"
    BaseStrVar<SafeStrModifier> filepath;      // the attachment
    BaseStrVar<SafeStrModifier> mifpath;
    BaseStrVar<SafeStrModifier> subject;
    BaseStrVar<StrModifier> bodypath;          // the mail body's file, or the body itself
    ValueVar<bool> autodelete;                 // the sender deletes the attachment once sent
};

}  // namespace LIBMTA
}  // namespace CORVANE

#endif
