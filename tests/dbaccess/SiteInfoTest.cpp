#include "dbaccess/SiteInfo.h"

#include <string>

#include <gtest/gtest.h>

#include "DbFixture.h"

namespace {

class SiteInfoTest : public DbFixture {};

TEST_F(SiteInfoTest, ReadsTheSiteDocument) {
    const std::string longName(75, 'N');
    Server().Seed(
        "config",
        "[{\"_id\": \"other\", \"sitename\": \"Wrong\"}, {\"_id\": \"siteinfo\", "
        "\"sitename\": \"" +
            longName +
            "\", \"sitecity\": \"Port \\\"Ellen\\\" `Bay`\", "
            "\"siteszip\": \"PA42 7DU\", \"dealerphone\": \"555-0199\", \"rooms\": 120}]");
    DBACCESS::SiteInfo site;
    for (int read = 0; read < 2; ++read) {
        std::string error = "stale";
        ASSERT_EQ(site.Read(error), 0) << error;
        EXPECT_EQ(error, "");
        EXPECT_EQ(site.id, "siteinfo");
        EXPECT_EQ(site.sitename.Get(), longName.substr(0, 60));
        EXPECT_EQ(site.sitecity.Get(), "Port Ellen Bay");
        EXPECT_EQ(site.siteszip.Get(), "PA42 7DU");
        EXPECT_EQ(site.dealerphone.Get(), "555-0199");
        EXPECT_EQ(site.sitephone.Get(), "");
        EXPECT_FALSE(site.sitename.changed);
        EXPECT_EQ(site.UndeclaredFields().at("rooms").value.Get(), "120");
    }
    const auto queries = RequestsOf("query");
    ASSERT_EQ(queries.size(), 2u);
    EXPECT_NE(queries[0].find("\"ns\": \"kelden.config\", \"query\": {\"_id\": \"siteinfo\"}"),
              std::string::npos)
        << queries[0];
    EXPECT_NE(queries[0].find("\"limit\": 1"), std::string::npos) << queries[0];
}

TEST_F(SiteInfoTest, MissingDocumentOrLostConnectionReadsAsNotFound) {
    struct Case {
        const char* what;
        bool seed;
        bool cut;
        bool errorText;
    } const cases[] = {
        {"no site document", false, false, false},
        {"connection lost in mid-reply", true, true, true},
    };
    for (const Case& c : cases) {
        Server().Reset();
        if (c.seed) {
            Server().Seed("config", "[{\"_id\": \"siteinfo\", \"sitename\": \"Hotel\"}]");
        }
        if (c.cut) {
            Server().CloseConnectionMidReply("config");
        }
        DBACCESS::SiteInfo site;
        site.sitename.FromString("before");
        std::string error;
        EXPECT_EQ(site.Read(error), -47) << c.what;
        EXPECT_EQ(!error.empty(), c.errorText) << c.what << ": " << error;
        EXPECT_EQ(site.sitename.Get(), "") << c.what;
    }
    // The lost connection was not kept for the next read.
    DBACCESS::SiteInfo site;
    std::string error;
    EXPECT_EQ(site.Read(error), 0) << error;
    EXPECT_EQ(site.sitename.Get(), "Hotel");
}

}  // namespace
