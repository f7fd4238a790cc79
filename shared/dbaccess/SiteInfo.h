#pragma once

#include <string>

#include "dbaccess/MongoDBBase.h"
#include "runtime/BaseStrVar.h"

namespace DBACCESS {

// The installation site and its dealer: the document "siteinfo" of the
// collection "config". Every field holds at most 60 safe characters.
class SiteInfo : public MongoDBBase {
public:
    SiteInfo();
    ~SiteInfo() override;

    // The id becomes "siteinfo", every field empty. The base's id, error
    // and undeclared fields stay as they are.
    void Clear() override;
    // "_id" and the ten fields are taken (false); any other name is not.
    bool SetField(const std::string& name, const std::string& text) override;

    // Reads the site document: 0 read, -47 no such document or a database
    // error (its text in errorText, and traced), -50 no connection (the
    // fields stay as they were).
    int Read(std::string& errorText);

    CORVANE::BaseStrVar<CORVANE::SafeStrModifier> sitename;
    CORVANE::BaseStrVar<CORVANE::SafeStrModifier> sitephone;
    CORVANE::BaseStrVar<CORVANE::SafeStrModifier> siteaddress1;
    CORVANE::BaseStrVar<CORVANE::SafeStrModifier> siteaddress2;
    CORVANE::BaseStrVar<CORVANE::SafeStrModifier> sitecity;
    CORVANE::BaseStrVar<CORVANE::SafeStrModifier> sitestate;
    CORVANE::BaseStrVar<CORVANE::SafeStrModifier> siteszip;
    CORVANE::BaseStrVar<CORVANE::SafeStrModifier> sitecountry;
    CORVANE::BaseStrVar<CORVANE::SafeStrModifier> dealername;
    CORVANE::BaseStrVar<CORVANE::SafeStrModifier> dealerphone;
    std::string id;
};

}  // namespace DBACCESS
