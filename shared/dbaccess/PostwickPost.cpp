#include "dbaccess/PostwickPost.h"

#include <cerrno>
#include <cstring>
#include <map>

#include "Poco/String.h"

#include "dbaccess/FieldLoading.h"
#include "dbaccess/ResultCode.h"

namespace CORVANE {
namespace LIBMTA {

namespace {

const char* const kSendQueue = "POSTWICK_SEND_QUEUE";

}  // namespace

PostwickPost::PostwickPost() : DBACCESS::TaskDB("taskspostwick") { Clear(); }

PostwickPost::~PostwickPost() = default;

void PostwickPost::Clear() {
    DBACCESS::TaskDB::Clear();
    using Safe = BaseStrVar<SafeStrModifier>;
    alertsource = Safe("alertsource", 0);
    alertreason = Safe("alertreason", 0);
    alertdata = Safe("alertdata", 0);
    autodelete = ValueVar<bool>("autodelete", false, false);
    sendermailbox = Safe("sendermailbox", 0);
    remotemailbox = Safe("remotemailbox", 0);
    emailaddress = Safe("emailaddress", 0);
    filepath = Safe("filepath", 0);
    mifpath = Safe("mifpath", 0);
    subject = Safe("subject", 0);
    bodypath = BaseStrVar<StrModifier>("bodypath", 0);
}

bool PostwickPost::SetField(const std::string& name, const std::string& text) {
    if (DBACCESS::LoadNamedField(name, text, alertsource, alertreason, alertdata, autodelete,
                                 sendermailbox, remotemailbox, emailaddress, mifpath, filepath,
                                 subject, bodypath)) {
        return false;
    }
    return DBACCESS::TaskDB::SetField(name, text);
}

int PostwickPost::Write(std::string& errorText) {
    const int result = Store(errorText);
    if (result == 0) {
        errorText = WakeSender();
    }
    return result;
}

int PostwickPost::Store(std::string& errorText, const std::function<void()>& sent) {
    // Looked at before the task is stored, so that a semaphore that cannot
    // be used fails the write instead of leaving a task nobody is told of.
    if (!sendQueue_.Open(kSendQueue) && sendQueue_.OpenError() != ENOENT) {
        const int why = sendQueue_.OpenError();
        errorText =
            std::string("cannot use the mail sender's semaphore ") + kSendQueue + ": " +
            (why == EINVAL ? std::string("it is damaged (not a semaphore)") : std::strerror(why));
        return DBACCESS::kWriteFailed;
    }

    std::map<std::string, std::string> mailFields;
    auto addText = [&mailFields](const auto& field) {
        if (field.changed) {
            mailFields.emplace(field.name, Poco::trim(field.value));
        }
    };
    addText(alertsource);
    addText(alertreason);
    addText(alertdata);
    if (autodelete.changed) {
        mailFields.emplace(autodelete.name, autodelete.value ? "1" : "0");
    }
    addText(sendermailbox);
    addText(remotemailbox);
    addText(emailaddress);
    addText(filepath);
    addText(mifpath);
    addText(subject);
    addText(bodypath);

    return RealWrite(errorText, mailFields, {}, sent);
}

std::string PostwickPost::WakeSender() {
    if (sendQueue_.Handle() == nullptr || sendQueue_.Handle()->Release(1)) {
        return std::string();
    }
    const int why = errno;
    std::string reason;
    switch (why) {
        case EOVERFLOW:
            reason = "its count is at its maximum of " +
                     std::to_string(SEMAPHORE::Semaphore::kMaximumCount);
            break;
        case EINVAL:
            reason = "it is damaged (it holds no valid count)";
            break;
        case EFAULT:
            reason = "it is damaged (its file was cut short)";
            break;
        default:
            reason = std::strerror(why);
    }
    return std::string("cannot release the mail sender's semaphore ") + kSendQueue + ": " + reason;
}

}  // namespace LIBMTA
}  // namespace CORVANE
