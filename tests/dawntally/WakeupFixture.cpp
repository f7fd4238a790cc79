#include "WakeupFixture.h"

#include <cctype>
#include <cstdio>

#include "dbaccess/DatabaseName.h"
#include "dbaccess/ObjectIdText.h"

const char kWakeupHeader[] =
    "\"Timestamp\",\"Scheduled\",\"Action\",\"Result\",\"Mailbox\",\"Room\",\"First\",\"Last\","
    "\"Tenant\",\"Source\",\"Who\",\"Count\",\"Line\",\"Prompt\",\"WakeupID\",\"Archived\",";

std::string Oid(int n) {
    char text[25];
    std::snprintf(text, sizeof text, "65f2%020x", n);
    return text;
}

std::string DigitsAsNines(std::string text) {
    for (char& c : text) {
        if (std::isdigit(static_cast<unsigned char>(c))) {
            c = '9';
        }
    }
    return text;
}

std::string Event::ToJson() const {
    const bool objectId = DBACCESS::IsObjectIdText(id);
    std::string json = "{\"_id\": " + (objectId ? "{\"$oid\": " + Json(id) + "}" : Json(id)) +
                       ", \"timestamp\": " + Json(timestamp);
    if (!wakeupid.empty()) {
        json += ", \"wakeupid\": " + Json(wakeupid);
    }
    if (!more.empty()) {
        json += ", " + more;
    }
    return json + "}";
}

void WakeupTest::SetUp() {
    DBACCESS::DatabaseName = "kelden";
    Server().Reset();
    TESTSUPPORT::SeedTestHotel(Server());
    dir_.MakeDir("tmp");
    dir_.MakeDir("root");
}

void WakeupTest::Seed(const std::vector<Event>& events) {
    std::string json = "[";
    for (const Event& event : events) {
        json += (json.size() > 1 ? ", " : "") + event.ToJson();
    }
    Server().Seed("wakeuplog", json + "]");
}

std::vector<std::string> WakeupTest::RequestsOf(const std::string& op, const std::string& ns) {
    std::vector<std::string> found;
    for (const std::string& request : Server().Requests()) {
        if (request.find("\"op\": \"" + op + "\"") != std::string::npos &&
            request.find("\"ns\": \"" + ns + "\"") != std::string::npos) {
            found.push_back(request);
        }
    }
    return found;
}

TESTSUPPORT::ProgramResult WakeupTest::Run(const std::vector<std::string>& args) const {
    TESTSUPPORT::ProgramOptions options;
    options.environment["TMPDIR"] = TempFolder();
    options.environment["QUORIX_ROOT"] = dir_.Path() + "/root";
    options.environment["QUORIX_REGISTRY"] = dir_.File("registry.reg");
    // A path beginning with "/" would be read as an option of its own.
    options.workDir = dir_.Path();
    return TESTSUPPORT::RunProgram(QX_DAWNTALLY_PATH, args, options);
}

std::vector<std::string> WakeupTest::ReportLines(const std::vector<std::string>& more) const {
    std::vector<std::string> args = {"-file", "report.csv"};
    args.insert(args.end(), more.begin(), more.end());
    const TESTSUPPORT::ProgramResult run = Run(args);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "");
    return Lines(dir_.Read("report.csv"));
}

std::vector<std::string> WakeupTest::MailTasks() {
    // Flat documents, each after its "_id" sub-document.
    const std::string all = Server().Documents("taskspostwick");
    std::vector<std::string> tasks;
    for (std::size_t at = all.find("{\"_id\": {"); at != std::string::npos;
         at = all.find("{\"_id\": {", at + 1)) {
        const std::size_t end = all.find('}', all.find('}', at + 9) + 1);
        tasks.push_back(all.substr(at, end - at + 1));
    }
    return tasks;
}

std::string JsonString(const std::string& object, const std::string& name) {
    const std::string key = "\"" + name + "\": \"";
    const std::size_t at = object.find(key);
    if (at == std::string::npos) {
        return std::string();
    }
    std::string text;
    for (std::size_t i = at + key.size(); i < object.size() && object[i] != '"'; ++i) {
        if (object[i] == '\\' && i + 1 < object.size()) {
            const char escaped = object[++i];
            text += escaped == 'r' ? '\r' : escaped == 'n' ? '\n' : escaped;
        } else {
            text += object[i];
        }
    }
    return text;
}
