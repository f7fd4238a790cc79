#include "dbaccess/QXMailbox.h"

#include <initializer_list>
#include <utility>

#include "Poco/Exception.h"

#include "dbaccess/DatabaseException.h"
#include "dbaccess/FieldLoading.h"
#include "dbaccess/LogDBError.h"
#include "dbaccess/ResultCode.h"
#include "runtime/CaseConversion.h"

namespace DBACCESS {

namespace {

using Flag = CORVANE::ValueVar<bool>;
using Integer = CORVANE::ValueVar<int>;
using NumberText = CORVANE::BaseStrVar<CORVANE::NumberStrModifier>;
using SafeText = CORVANE::BaseStrVar<CORVANE::SafeStrModifier>;
using PrintableText = CORVANE::BaseStrVar<CORVANE::PrintableStrModifier>;

Flag MakeFlag(const char* name, bool initial = false) { return Flag(name, initial, false); }

Integer MakeInteger(const char* name, int initial = 0, int maximum = 0, int minimum = 0) {
    return Integer(name, initial, maximum, minimum);
}

SafeText MakeLowerText(const char* name, const char* initial) {
    SafeText text(name, initial, CORVANE::SafeStrModifier());
    text.caseConversion = CORVANE::kCaseConversionLower;
    return text;
}

// Hands array to the list stored under name, if one is.
template <class Entry>
void LoadNamedList(const std::string& name, const Poco::MongoDB::Array::Ptr& array,
                   std::initializer_list<std::pair<const char*, QXEntryIndex<Entry>*>> lists) {
    for (const auto& list : lists) {
        if (name == list.first) {
            list.second->Load(array);
            return;
        }
    }
}

}  // namespace

QXMailbox::QXMailbox(const std::string& mailboxNumber)
    : MongoDBBase("mailbox"),
      email(kAddressListMaximum),
      extension(kAddressListMaximum),
      mwi(kAddressListMaximum),
      mailbox(kAddressListMaximum),
      pager(kAddressListMaximum),
      phone(kAddressListMaximum),
      evt(kTemplateListMaximum),
      msg(kTemplateListMaximum),
      ntf(kTemplateListMaximum),
      crp(kTemplateListMaximum),
      adminaccess(MakeFlag("adminaccess")),
      assignHow(MakeInteger("assign_how")),
      blockingGreeting(MakeInteger("blocking_greeting")),
      busyGreeting(MakeInteger("busy_greeting")),
      callblocking(MakeFlag("callblocking")),
      callscreening(MakeFlag("callscreening")),
      cosname(MakeLowerText("cosname", "")),
      created("created", 0),
      description("description", 0),
      directory(MakeFlag("directory")),
      expiry("expiry", 0),
      faxPrinting(MakeFlag("fax_printing")),
      language(MakeInteger("language")),
      langSelected(MakeFlag("lang_selected")),
      lastAssigned("last_assigned", 0),
      updated("updated", 0),
      lastlogin("lastlogin", 0),
      profileid("profileid", 0),
      locked(MakeFlag("locked")),
      msgSpeed(MakeInteger("msg_speed", 0, 5, -5)),
      msgVolume(MakeInteger("msg_volume", 0, 5, -5)),
      manageMailbox(MakeFlag("manage_mailbox")),
      manageMessages(MakeFlag("manage_messages")),
      mwiLine(MakeInteger("mwi_line", 0, 2000, 0)),
      nameRecording(MakeInteger("name_recording")),
      notifyAccess(MakeFlag("notify_access")),
      notifyAddress(MakeInteger("notify_address")),
      number("number", 20),
      password("password", "6284", CORVANE::NumberStrModifier()),
      promptSpeed(MakeInteger("prompt_speed", 0, 5, -5)),
      promptVolume(MakeInteger("prompt_volume", 0, 5, -5)),
      rnaGreeting(MakeInteger("rna_greeting")),
      script(MakeLowerText("script", "")),
      sdafile(MakeLowerText("sdafile", "standard")),
      sponsor("sponsor", 0),
      systemmailbox(MakeFlag("systemmailbox")),
      tenantid("tenantid", 0),
      sendgroupmsgs(MakeFlag("sendgroupmsgs")),
      timezone(MakeInteger("timezone", -800)),
      tutorial(MakeFlag("tutorial", true)),
      type(MakeInteger("type", -1)) {
    Read(mailboxNumber, MutableLastError());
}

QXMailbox::~QXMailbox() = default;

void QXMailbox::Clear() {
    for (QXAddressIndex* list : {&email, &extension, &mwi, &mailbox, &pager, &phone}) list->Clear();
    for (QXTemplateIndex* list : {&evt, &msg, &ntf, &crp}) list->Clear();
    for (QXItemIndex* list : {&folders, &lists, &prompts}) list->Clear();
    ResetFields(adminaccess, assignHow, blockingGreeting, busyGreeting, callblocking, callscreening,
                cosname, created, description, directory, expiry, faxPrinting, language,
                langSelected, lastAssigned, updated, lastlogin, profileid, locked, msgSpeed,
                msgVolume, manageMailbox, manageMessages, mwiLine, nameRecording, notifyAccess,
                notifyAddress, number, password, promptSpeed, promptVolume, rnaGreeting, script,
                sdafile, sponsor, systemmailbox, tenantid, sendgroupmsgs, timezone, tutorial, type);
    custominfo.Clear();
    name.Clear();
    room.Clear();
}

bool QXMailbox::OnArray(const std::string& element, Poco::MongoDB::Array::Ptr array) {
    LoadNamedList<QXAddress>(element, array,
                             {{"email", &email},
                              {"extension", &extension},
                              {"mailbox", &mailbox},
                              {"mwi", &mwi},
                              {"pager", &pager},
                              {"phone", &phone}});
    LoadNamedList<QXItem>(element, array,
                          {{"prompts", &prompts}, {"folders", &folders}, {"lists", &lists}});
    LoadNamedList<QXTemplate>(element, array,
                              {{"evt", &evt}, {"msg", &msg}, {"ntf", &ntf}, {"crp", &crp}});
    return false;
}

bool QXMailbox::OnDocument(const std::string& element, Poco::MongoDB::Document::Ptr document) {
    if (element == "name")
        name.ParseSubDocument(document, std::string());
    else if (element == "room")
        room.ParseSubDocument(document, std::string());
    else if (element == "custominfo")
        custominfo.LoadDocument(document);
    else
        return true;
    return false;
}

bool QXMailbox::SetField(const std::string& element, const std::string& text) {
    if (element == "_id") {
        number.LoadFromString(text);
        number.readOnly = true;
        return false;
    }
    if (LoadNamedField(element, text, type)) {
        type.readOnly = true;
        return false;
    }
    if (LoadNamedField(element, text, created, updated)) {
        created.readOnly = false;
        updated.readOnly = false;
        return false;
    }
    return !LoadNamedField(element, text, adminaccess, assignHow, blockingGreeting, busyGreeting,
                           callblocking, callscreening, cosname, description, directory, expiry,
                           faxPrinting, language, langSelected, lastAssigned, lastlogin, profileid,
                           locked, msgSpeed, msgVolume, manageMailbox, manageMessages, mwiLine,
                           nameRecording, notifyAccess, notifyAddress, password, promptSpeed,
                           promptVolume, rnaGreeting, script, sdafile, sponsor, systemmailbox,
                           tenantid, sendgroupmsgs, timezone, tutorial);
}

std::string QXMailbox::Unreadable(const Poco::Exception& e) {
    // Half a mailbox is worse than none: its room and tenant would be taken
    // as found.
    const std::string failure = e.displayText();
    LogDBError("DBACCESS::QXMailbox::Read", __LINE__, failure);
    Clear();
    return failure;
}

int QXMailbox::Read(const std::string& mailboxNumber, std::string& errorText) {
    errorText.clear();
    Clear();
    if (mailboxNumber.empty()) {
        errorText = "No number specified";
        return 3;
    }
    if (!Connect()) {
        errorText = "Unable to connect";
        return kNoConnection;
    }
    number.readOnly = false;
    type.readOnly = false;
    std::string failure;
    try {
        ReadOne("_id", mailboxNumber);
    } catch (const UnreadableDocumentException& e) {
        failure = Unreadable(e);
    } catch (const Poco::IOException&) {
        // Refused, timed out, cut off or malformed: that is the database,
        // not this mailbox, and every later read would meet it too.
        number.readOnly = true;
        type.readOnly = true;
        throw;
    } catch (const Poco::Exception& e) {
        failure = Unreadable(e);
    }
    number.readOnly = true;
    type.readOnly = true;
    if (!number.value.empty()) return 0;
    if (!failure.empty())
        errorText = failure;
    else if (!LastError().empty())
        errorText = LastError();
    else
        errorText = "Mailbox not found";
    return kNotFound;
}

}  // namespace DBACCESS
