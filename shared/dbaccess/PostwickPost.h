#pragma once

#include <functional>
#include <string>

#include "dbaccess/TaskDB.h"
#include "runtime/BaseStrVar.h"
#include "runtime/Semaphore.h"
#include "runtime/ValueVar.h"

namespace CORVANE {
namespace LIBMTA {

// A mail task for the product's mail sender, stored in "taskspostwick".
// Fill the fields through their value-variable operations: Write sends only
// those whose changed flag is set.
class PostwickPost : public DBACCESS::TaskDB {
public:
    PostwickPost();
    ~PostwickPost() override;

    // The task fields back to their defaults, then every mail field empty
    // (autodelete false).
    void Clear() override;
    // The mail fields are taken (false); other names go to TaskDB.
    bool SetField(const std::string& name, const std::string& text) override;

    // Store, then, when the task was stored, WakeSender. A stored task is 0
    // even when the sender could not be woken; errorText then says why.
    int Write(std::string& errorText) override;

    // Stores the task with its changed mail fields (see TaskDB::RealWrite
    // for the results and for sent). The mail sender's semaphore
    // "POSTWICK_SEND_QUEUE" is opened first and held for WakeSender: when it
    // exists but cannot be used (a damaged object, no access), nothing is
    // stored and the result is -46 with errorText saying so. A sender that
    // is not running (no semaphore) leaves the task waiting in the
    // collection.
    int Store(std::string& errorText, const std::function<void()>& sent = nullptr);

    // Releases the semaphore that Store opened once, which wakes the mail
    // sender; nothing when there was none. Why the release failed (the
    // semaphore at its maximum count, or damaged), or empty.
    std::string WakeSender();

    // Whether the task, given text in field, would send it exactly as given:
    // the field's character rule keeps every byte and the write's trimming
    // takes none. A path or address that would be sent changed names some
    // other file or person.
    template <class M>
    static bool SendsAsGiven(const BaseStrVar<M>& field, const std::string& text) {
        BaseStrVar<M> probe(field);
        probe.FromString(text);
        return probe.Get() == text;
    }

    BaseStrVar<SafeStrModifier> alertsource;
    BaseStrVar<SafeStrModifier> alertreason;
    BaseStrVar<SafeStrModifier> alertdata;
    BaseStrVar<SafeStrModifier> sendermailbox;
    BaseStrVar<SafeStrModifier> remotemailbox;
    BaseStrVar<SafeStrModifier> emailaddress;  // recipients, separated by ";"
    BaseStrVar<SafeStrModifier> filepath;      // the attachment
    BaseStrVar<SafeStrModifier> mifpath;
    BaseStrVar<SafeStrModifier> subject;
    BaseStrVar<StrModifier> bodypath;  // the mail body's file, or the body itself
    ValueVar<bool> autodelete;         // the sender deletes the attachment once sent

private:
    SEMAPHORE::Semaphore sendQueue_;  // from Store to WakeSender
};

}  // namespace LIBMTA
}  // namespace CORVANE
