#include "dbaccess/PostwickPost.h"

#include <fcntl.h>
#include <semaphore.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include <Poco/MongoDB/Connection.h>
#include <Poco/MongoDB/Cursor.h>
#include <gtest/gtest.h>

#include "DbFixture.h"
#include "StoredTasks.h"
#include "runtime/DateTime.h"
#include "runtime/TimeText.h"
#include "support/SendQueue.h"

namespace {

const char kTasks[] = "taskspostwick";  // the mail sender's queue

using Layout = std::vector<std::pair<std::string, int>>;

// Element names and BSON type codes, in stored order.
Layout LayoutOf(const Poco::MongoDB::Document& document) {
    std::vector<std::string> names;
    document.elementNames(names);
    Layout layout;
    for (const std::string& name : names) {
        layout.emplace_back(name, document.get(name)->type());
    }
    return layout;
}

const Layout kTaskFields = {
    {"_id", 7},      {"priority", 16},   {"scheduled", 2}, {"taskref", 2},   {"tasktype", 16},
    {"retries", 16}, {"maxretries", 16}, {"mailbox", 2},   {"interval", 16}, {"start", 2},
    {"end", 2},      {"expire", 2},      {"created", 2},   {"data", 2},
};

std::string NowText() { return FormatDbTimestamp(DateTime::Now()); }

class PostwickPostTest : public DbFixture {};

TEST_F(PostwickPostTest, ReportMailTaskAsStored) {
    struct Case {
        const char* what;
        bool setAutodelete;
        bool autodelete;
        std::vector<std::string> mailFields;  // after the task fields
    } const cases[] = {
        {"report file made by the program",
         true,
         true,
         {"autodelete", "bodypath", "emailaddress", "filepath", "subject"}},
        {"report file given", false, false, {"bodypath", "emailaddress", "filepath", "subject"}},
        {"autodelete set to its default",
         true,
         false,
         {"bodypath", "emailaddress", "filepath", "subject"}},
    };
    for (const Case& c : cases) {
        Server().Reset();
        CORVANE::LIBMTA::PostwickPost post;
        post.filepath.FromString("/tmp/GA202404111530.csv");
        post.emailaddress.FromString("desk@hotel.example;night@hotel.example");
        post.bodypath.FromString("/tmp/grA1b2C3.tmp");
        post.subject.FromString("Guest report for 2024-04-11 at 03:30 pm");
        post.tasktype.Set(2, true);
        if (c.setAutodelete) {
            post.autodelete.Set(c.autodelete, true);
        }
        const std::string before = NowText();
        std::string error = "stale";
        ASSERT_EQ(post.Write(error), 0) << c.what << ": " << error;
        const std::string after = NowText();
        EXPECT_EQ(error, "");

        const auto tasks = StoredTasks(kTasks);
        ASSERT_EQ(tasks.size(), 1u) << c.what;
        const Poco::MongoDB::Document& task = *tasks[0];
        Layout expected = kTaskFields;
        for (const std::string& name : c.mailFields) {
            expected.emplace_back(name, 2);
        }
        EXPECT_EQ(LayoutOf(task), expected) << c.what;

        EXPECT_EQ(task.get<int>("priority"), 20);
        EXPECT_EQ(task.get<int>("tasktype"), 2);
        EXPECT_EQ(task.get<int>("retries"), 0);
        for (const char* empty : {"taskref", "mailbox", "start", "end", "expire", "data"}) {
            EXPECT_EQ(task.get<std::string>(empty), "") << empty;
        }
        const std::string scheduled = task.get<std::string>("scheduled");
        EXPECT_TRUE(IsDbTime(scheduled)) << scheduled;
        EXPECT_EQ(task.get<std::string>("created"), scheduled);
        EXPECT_LE(before, scheduled);
        EXPECT_LE(scheduled, after);
        if (c.autodelete) {
            EXPECT_EQ(task.get<std::string>("autodelete"), "1");
        }
        EXPECT_EQ(task.get<std::string>("filepath"), "/tmp/GA202404111530.csv");
        EXPECT_EQ(task.get<std::string>("subject"), "Guest report for 2024-04-11 at 03:30 pm");
    }
}

TEST_F(PostwickPostTest, SendsChangedFieldsTrimmed) {
    CORVANE::LIBMTA::PostwickPost post;
    post.subject.FromString("  Guest report \t");
    post.bodypath.FromString("\r\nSite\r\n\r\nRows: 0\r\n");
    post.mailbox.FromString(" 101 ");
    post.alertdata.FromString("x");
    post.alertdata.FromString("");  // changed, and back to empty: still sent
    post.remotemailbox.LoadFromString("loaded, not changed");
    std::string error;
    ASSERT_EQ(post.Write(error), 0) << error;

    const auto tasks = StoredTasks(kTasks);
    ASSERT_EQ(tasks.size(), 1u);
    Layout expected = kTaskFields;
    expected.emplace_back("alertdata", 2);
    expected.emplace_back("bodypath", 2);
    expected.emplace_back("subject", 2);
    EXPECT_EQ(LayoutOf(*tasks[0]), expected);
    EXPECT_EQ(tasks[0]->get<std::string>("subject"), "Guest report");
    EXPECT_EQ(tasks[0]->get<std::string>("bodypath"), "Site\r\n\r\nRows: 0");
    EXPECT_EQ(tasks[0]->get<std::string>("mailbox"), "101");
    EXPECT_EQ(tasks[0]->get<std::string>("alertdata"), "");
    // The server gives the task its id: the insert carries none.
    const auto inserts = RequestsOf("insert");
    ASSERT_EQ(inserts.size(), 1u);
    EXPECT_EQ(inserts[0].find("\"_id\""), std::string::npos) << inserts[0];
}

TEST_F(PostwickPostTest, WakesTheMailSenderOncePerStoredTaskOnly) {
    TESTSUPPORT::SendQueue queue;
    ASSERT_EQ(queue.Count(), 0);
    std::string error;

    CORVANE::LIBMTA::PostwickPost first;
    first.subject.FromString("one");
    EXPECT_EQ(first.Write(error), 0) << error;
    EXPECT_EQ(queue.Count(), 1);

    CORVANE::LIBMTA::PostwickPost second;
    second.subject.FromString("two");
    EXPECT_EQ(second.Write(error), 0) << error;
    EXPECT_EQ(queue.Count(), 2);

    // The last-error query after the insert cut off, refused, or answered
    // with nothing: the task is not known to be stored, the sender sleeps on.
    const std::function<void()> unconfirmed[] = {
        [this] { Server().CloseConnectionMidReply("$cmd"); },
        [this] { Server().FailNextQuery("$cmd", "not master", 10107); },
        [this] { Server().AnswerNextWithoutDocuments("$cmd"); },
    };
    for (const auto& fault : unconfirmed) {
        fault();
        CORVANE::LIBMTA::PostwickPost post;
        EXPECT_EQ(post.Write(error), -46);
        EXPECT_NE(error, "");
        EXPECT_EQ(queue.Count(), 2);
    }

    CORVANE::LIBMTA::PostwickPost badId;
    badId.id = "not-an-object-id";
    EXPECT_EQ(badId.Write(error), -46);
    EXPECT_EQ(queue.Count(), 2);
}

TEST_F(PostwickPostTest, WithoutAMailSenderTheTaskStillWaits) {
    sem_unlink("/POSTWICK_SEND_QUEUE");
    CORVANE::LIBMTA::PostwickPost post;
    post.subject.FromString("queued");
    std::string error;
    EXPECT_EQ(post.Write(error), 0) << error;
    EXPECT_EQ(StoredTasks(kTasks).size(), 1u);
}

// Store leaves the waking to the caller, who may first have to put the
// task's files in place.
TEST_F(PostwickPostTest, StoreWakesNobodyUntilWakeSender) {
    TESTSUPPORT::SendQueue queue;
    CORVANE::LIBMTA::PostwickPost post;
    post.subject.FromString("stored");
    std::string error;
    EXPECT_EQ(post.Store(error), 0) << error;
    EXPECT_EQ(StoredTasks(kTasks).size(), 1u);
    EXPECT_EQ(queue.Count(), 0);
    EXPECT_EQ(post.WakeSender(), "");
    EXPECT_EQ(queue.Count(), 1);
}

// A semaphore that opens but takes no release: the task is stored all the
// same, and the caller hears that the sender was not woken and why.
TEST_F(PostwickPostTest, SemaphoreThatCannotBeReleasedSaysWhy) {
    const char* const name = "/POSTWICK_SEND_QUEUE";
    const char* const file = "/dev/shm/sem.POSTWICK_SEND_QUEUE";
    const auto make = [name](unsigned count) {
        sem_unlink(name);
        sem_t* made = sem_open(name, O_CREAT | O_EXCL, 0666, count);
        ASSERT_NE(made, SEM_FAILED);
        sem_close(made);
    };
    const auto fill = [name, file] {
        sem_unlink(name);
        const std::string bytes(sizeof(sem_t), '\xff');
        const int fd = ::open(file, O_WRONLY | O_CREAT | O_EXCL, 0666);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::write(fd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
        ::close(fd);
    };
    const std::string cannot = "cannot release the mail sender's semaphore POSTWICK_SEND_QUEUE: ";
    struct Case {
        const char* what;
        std::function<void()> before;  // before Store
        std::function<void()> after;   // between Store and WakeSender
        std::string why;
    } const cases[] = {
        {"at its maximum", [&make] { make(200); }, [] {},
         cannot + "its count is at its maximum of 200"},
        {"filled with 0xff bytes", fill, [] {}, cannot + "it is damaged (it holds no valid count)"},
        {"cut short by another process", [&make] { make(0); },
         [file] { ASSERT_EQ(::truncate(file, 0), 0); },
         cannot + "it is damaged (its file was cut short)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Server().Reset();
        c.before();
        CORVANE::LIBMTA::PostwickPost post;
        post.subject.FromString("stored, sender asleep");
        std::string error;
        ASSERT_EQ(post.Store(error), 0) << error;
        c.after();
        EXPECT_EQ(post.WakeSender(), c.why);
        EXPECT_EQ(StoredTasks(kTasks).size(), 1u);
    }

    // Write tells it too, with the task stored.
    Server().Reset();
    fill();
    CORVANE::LIBMTA::PostwickPost post;
    std::string error;
    EXPECT_EQ(post.Write(error), 0);
    EXPECT_EQ(error, cannot + "it is damaged (it holds no valid count)");
    EXPECT_EQ(StoredTasks(kTasks).size(), 1u);
    sem_unlink(name);
}

// Anyone may leave a file under the semaphore's name while the sender is
// down. It is never mapped (a short one would end the process with SIGBUS),
// and no task is stored that the sender could not be told of.
TEST_F(PostwickPostTest, DamagedSemaphoreStoresNothing) {
    const char* const file = "/dev/shm/sem.POSTWICK_SEND_QUEUE";
    for (const std::string& content : {std::string(), std::string(7, 'x')}) {
        sem_unlink("/POSTWICK_SEND_QUEUE");
        const int fd = ::open(file, O_WRONLY | O_CREAT | O_EXCL, 0666);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::write(fd, content.data(), content.size()),
                  static_cast<ssize_t>(content.size()));
        ::close(fd);

        CORVANE::LIBMTA::PostwickPost post;
        post.subject.FromString("never stored");
        std::string error;
        EXPECT_EQ(post.Write(error), -46);
        EXPECT_EQ(
            error,
            "cannot use the mail sender's semaphore POSTWICK_SEND_QUEUE: it is damaged (not a "
            "semaphore)");
    }
    sem_unlink("/POSTWICK_SEND_QUEUE");
    EXPECT_TRUE(StoredTasks(kTasks).empty());
    EXPECT_TRUE(RequestsOf("insert").empty());
}

TEST_F(PostwickPostTest, SendsAsGivenTellsWhetherAFieldWouldChangeAText) {
    const CORVANE::LIBMTA::PostwickPost post;
    using Post = CORVANE::LIBMTA::PostwickPost;
    EXPECT_TRUE(Post::SendsAsGiven(post.filepath, "/tmp/GA202404111530-2.csv"));
    EXPECT_FALSE(Post::SendsAsGiven(post.filepath, "/tmp/rapport-\xC3\xA9t\xC3\xA9.csv"));
    EXPECT_FALSE(Post::SendsAsGiven(post.filepath, " /tmp/r.csv"));
    EXPECT_FALSE(Post::SendsAsGiven(post.filepath, "/tmp/\"r\".csv"));
    EXPECT_TRUE(Post::SendsAsGiven(post.bodypath, "Site\r\n\r\nRows: 0 \xC3\xA9"));
    EXPECT_FALSE(Post::SendsAsGiven(post.bodypath, "Site\r\n"));
    EXPECT_TRUE(Post::SendsAsGiven(post.filepath, ""));
}

TEST_F(PostwickPostTest, SetFieldTakesTheMailFieldsAsLoaded) {
    CORVANE::LIBMTA::PostwickPost post;
    EXPECT_FALSE(post.SetField("subject", "Guest report"));
    EXPECT_FALSE(post.SetField("autodelete", "on"));
    EXPECT_FALSE(post.SetField("priority", "5"));
    EXPECT_TRUE(post.SetField("sender", "x"));
    EXPECT_EQ(post.subject.Get(), "Guest report");
    EXPECT_TRUE(post.autodelete.value);
    EXPECT_EQ(post.priority.value, 5);
    EXPECT_FALSE(post.subject.changed || post.autodelete.changed || post.priority.changed);
}

}  // namespace
