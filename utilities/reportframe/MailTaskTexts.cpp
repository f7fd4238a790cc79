#include "reportframe/MailTaskTexts.h"

#include "Poco/String.h"

#include "dbaccess/PostwickPost.h"

namespace {

const char* const kSafeText = "printable ASCII only, without '\"' and '`'";

bool HoldsAnAddress(const std::string& emailList) {
    std::size_t begin = 0;
    for (;;) {
        const std::size_t end = emailList.find(';', begin);
        const std::string address =
            emailList.substr(begin, end == std::string::npos ? std::string::npos : end - begin);
        if (!Poco::trim(address).empty()) {
            return true;
        }
        if (end == std::string::npos) {
            return false;
        }
        begin = end + 1;
    }
}

}  // namespace

std::string EmailListRefusal(const std::string& emailList) {
    if (!HoldsAnAddress(emailList)) {
        return "-email \"" + emailList + "\" holds no e-mail address";
    }
    const CORVANE::LIBMTA::PostwickPost post;
    if (!CORVANE::LIBMTA::PostwickPost::SendsAsGiven(post.emailaddress, Poco::trim(emailList))) {
        return "cannot mail to \"" + emailList + "\": the mail task takes addresses in " +
               kSafeText;
    }
    return std::string();
}

std::string MailPathRefusal(const std::string& path) {
    const CORVANE::LIBMTA::PostwickPost post;
    if (!CORVANE::LIBMTA::PostwickPost::SendsAsGiven(post.filepath, path)) {
        return "cannot mail " + path + ": the mail task takes file paths in " + kSafeText +
               ", with no blank at either end";
    }
    return std::string();
}
