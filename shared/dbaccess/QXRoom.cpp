#include "dbaccess/QXRoom.h"

#include "dbaccess/FieldLoading.h"

namespace DBACCESS {

using DateText = CORVANE::BaseStrVar<CORVANE::NumberStrModifier>;

QXRoom::QXRoom() = default;

QXRoom::~QXRoom() = default;

void QXRoom::Clear() {
    restrict = CORVANE::BaseStrVar<CORVANE::SafeStrModifier>("restrict", 0);
    occupied = CORVANE::ValueVar<bool>("occupied", false, false);
    status = CORVANE::ValueVar<int>("status", 0, 0, 0);
    textcount = CORVANE::ValueVar<int>("textcount", 0, 0, 0);
    vip = CORVANE::ValueVar<bool>("vip", false, false);
    checkedindate = DateText("checkedindate", 60);
    checkedoutdate = DateText("checkedoutdate", 60);
    arrivaldate = DateText("arrivaldate", 60);
    departuredate = DateText("departuredate", 60);
    roomid = CORVANE::BaseStrVar<CORVANE::PrintableStrModifier>("roomid", 59);
    groupid = CORVANE::BaseArrayVar<CORVANE::StrModifier>("groupid", {}, CORVANE::StrModifier());
    roominfo.Clear();
    guestinfo.Clear();
}

bool QXRoom::OnArray(const std::string& name, Poco::MongoDB::Array::Ptr array) {
    if (name != groupid.name) return true;
    groupid.LoadFromArray(array);
    return false;
}

bool QXRoom::OnDocument(const std::string& name, Poco::MongoDB::Document::Ptr document) {
    if (name == "roominfo")
        roominfo.LoadDocument(document);
    else if (name == "guestinfo")
        guestinfo.LoadDocument(document);
    else
        return true;
    return false;
}

bool QXRoom::SetField(const std::string& name, const std::string& text) {
    return !LoadNamedField(name, text, occupied, status, textcount, vip, restrict, roomid,
                           checkedindate, checkedoutdate, arrivaldate, departuredate);
}

}  // namespace DBACCESS
