#include "GuestFixtures.h"

#include <cctype>
#include <cstdio>
#include <sstream>
#include <utility>

const char kGuestHeader[] =
    "\"Timestamp\",\"Mailbox\",\"Room\",\"Tenant\",\"Activity\",\"Method\",\"Result\","
    "\"Detail\",\"Who\",\"To From\",\"Line\",";

Activity::Activity(std::string id, std::string timestamp, std::string mailbox, int activity,
                   int method, int result)
    : id(std::move(id)),
      timestamp(std::move(timestamp)),
      mailbox(std::move(mailbox)),
      activity(activity),
      method(method),
      result(result) {}

std::string Activity::ToJson() const {
    std::ostringstream json;
    bool objectId = id.size() == 24;
    for (char c : id) {
        objectId = objectId && std::isxdigit(static_cast<unsigned char>(c)) && !std::isupper(c);
    }
    json << "{\"_id\": " << (objectId ? "{\"$oid\": " + Json(id) + "}" : Json(id))
         << ", \"timestamp\": " << Json(timestamp) << ", \"mailbox\": " << Json(mailbox)
         << ", \"activity\": " << activity << ", \"method\": " << method
         << ", \"result\": " << result << ", \"detail\": " << Json(detail)
         << ", \"username\": " << Json(username) << ", \"msgtofrom\": " << Json(msgtofrom)
         << ", \"line\": " << line << ", \"number\": \"\", \"uniqueid\": \"u-" << id << "\"";
    if (!extra.empty()) {
        json << ", " << extra;
    }
    json << "}";
    return json.str();
}

void GuestReportTest::SetUp() {
    Server().Reset();
    TESTSUPPORT::SeedTestHotel(Server());
    dir_.MakeDir("tmp");
    dir_.MakeDir("root");
}

void GuestReportTest::Seed(const std::vector<Activity>& activities) {
    std::string json = "[";
    for (const Activity& activity : activities) {
        json += (json.size() > 1 ? ", " : "") + activity.ToJson();
    }
    Server().Seed("reportmbactivity", json + "]");
}

TESTSUPPORT::ProgramResult GuestReportTest::RunStaytally(const std::vector<std::string>& args,
                                                         const std::string& shellPrefix,
                                                         int stopSignal,
                                                         std::function<bool()> stopWhen) const {
    TESTSUPPORT::ProgramOptions options;
    options.stopSignal = stopSignal;
    options.stopWhen = std::move(stopWhen);
    options.environment["TMPDIR"] = TempFolder();
    options.environment["QUORIX_ROOT"] = dir_.Path() + "/root";
    options.environment["QUORIX_REGISTRY"] = dir_.File("registry.reg");
    if (shellPrefix.empty()) {
        return TESTSUPPORT::RunProgram(QX_STAYTALLY_PATH, args, options);
    }
    std::vector<std::string> shellArgs = {"-c", shellPrefix + " && exec \"$0\" \"$@\"",
                                          QX_STAYTALLY_PATH};
    shellArgs.insert(shellArgs.end(), args.begin(), args.end());
    return TESTSUPPORT::RunProgram("/bin/sh", shellArgs, options);
}

std::vector<std::string> GuestReportTest::MailTasks() {
    // The top-level objects of the array.
    const std::string all = Server().Documents("taskspostwick");
    std::vector<std::string> tasks;
    int depth = 0;
    bool inString = false;
    std::size_t begin = 0;
    for (std::size_t i = 0; i < all.size(); ++i) {
        const char c = all[i];
        if (inString) {
            if (c == '\\') {
                ++i;
            } else if (c == '"') {
                inString = false;
            }
        } else if (c == '"') {
            inString = true;
        } else if (c == '{' && depth++ == 0) {
            begin = i;
        } else if (c == '}' && --depth == 0) {
            tasks.push_back(all.substr(begin, i + 1 - begin));
        }
    }
    return tasks;
}

bool FitsPattern(const std::string& text, const std::string& pattern) {
    if (pattern.empty()) {
        return text.empty();
    }
    if (pattern[0] == '*') {
        for (std::size_t skip = 0; skip <= text.size(); ++skip) {
            if (FitsPattern(text.substr(skip), pattern.substr(1))) {
                return true;
            }
        }
        return false;
    }
    if (text.empty()) {
        return false;
    }
    const bool fits = pattern[0] == '#' ? std::isdigit(static_cast<unsigned char>(text[0])) != 0
                                        : pattern[0] == text[0];
    return fits && FitsPattern(text.substr(1), pattern.substr(1));
}

std::string JsonMember(const std::string& object, const std::string& name) {
    const std::string key = "\"" + name + "\": ";
    const std::size_t at = object.find(key);
    if (at == std::string::npos) {
        return std::string();
    }
    const std::size_t begin = at + key.size();
    std::size_t end = begin;
    if (end < object.size() && object[end] == '"') {
        for (++end; end < object.size() && object[end] != '"'; ++end) {
            if (object[end] == '\\') {
                ++end;
            }
        }
        return object.substr(begin, end + 1 - begin);
    }
    while (end < object.size() && object[end] != ',' && object[end] != '}') {
        ++end;
    }
    return object.substr(begin, end - begin);
}
std::string JsonString(const std::string& object, const std::string& name) {
    const std::string raw = JsonMember(object, name);
    if (raw.size() < 2 || raw.front() != '"') {
        return std::string();
    }
    std::string text;
    for (std::size_t i = 1; i + 1 < raw.size(); ++i) {
        if (raw[i] == '\\' && i + 2 < raw.size()) {
            const char escaped = raw[++i];
            text += escaped == 'r' ? '\r' : escaped == 'n' ? '\n' : escaped == 't' ? '\t' : escaped;
        } else {
            text += raw[i];
        }
    }
    return text;
}

std::string Oid(int series, int n) {
    char text[25];
    std::snprintf(text, sizeof text, "65f%01x%020x", series, n);
    return text;
}
