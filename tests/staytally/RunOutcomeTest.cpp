// What a run of the real program leaves behind, for a run that succeeds and
// for one that fails: its report and mail body files, the mail task, the
// mail sender's semaphore, an earlier report at the -file path, and the
// standard descriptors it was started with.

#include <fcntl.h>
#include <semaphore.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "GuestFixtures.h"
#include "runtime/DateTime.h"
#include "runtime/TimeText.h"
#include "support/SendQueue.h"

namespace {

std::string Oid(int n) {
    char text[25];
    std::snprintf(text, sizeof text, "65f2%020x", n);
    return text;
}

mode_t ModeOf(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 ? info.st_mode : 0;
}

std::string ReportNameAt(const DateTime& at, const std::string& suffix = "") {
    return FormatDateTime(at, "GA%Y%m%d%H%M") + suffix + ".csv";
}

// The body's "Rows: N" count, -1 when there is none.
int BodyRows(const std::string& body) {
    const std::size_t at = body.find("\r\nRows: ");
    return at == std::string::npos ? -1 : std::stoi(body.substr(at + 8));
}

// Until the clock is at least ten seconds away from the next minute, so
// that runs made right after share the minute of their report names.
void WaitForTheStartOfAMinute() {
    while (FormatDateTime(DateTime::Now(), "%S") >= "50") {
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
    }
}

class RunOutcomeTest : public GuestReportTest {
protected:
    void SetUp() override {
        GuestReportTest::SetUp();
        Seed({{Oid(1), DbTimeAgo(120)}});
    }

    // One stderr line that fits pattern, exit 1, no signal, no mail task and
    // nothing of the run left in the temp folder.
    void ExpectCleanFailure(const TESTSUPPORT::ProgramResult& run, const std::string& pattern) {
        EXPECT_EQ(run.exitCode, 1) << run.err;
        EXPECT_EQ(run.signal, 0);
        EXPECT_TRUE(FitsPattern(run.err, pattern + "\n")) << run.err;
        EXPECT_TRUE(MailTasks().empty()) << Server().Documents("taskspostwick");
        EXPECT_TRUE(FilesIn(TempFolder()).empty()) << FilesIn(TempFolder()).front();
    }
};

TEST_F(RunOutcomeTest, TwoMailRunsInOneMinuteMailTwoFilesEachWithItsOwnRows) {
    WaitForTheStartOfAMinute();
    const DateTime now = DateTime::Now();
    ASSERT_EQ(RunStaytally({"-email", "desk@hotel.example"}).exitCode, 0);
    Seed({{Oid(2), DbTimeAgo(100)}, {Oid(3), DbTimeAgo(90), "102"}});
    const auto second = RunStaytally({"-email", "night@hotel.example"});
    ASSERT_EQ(second.exitCode, 0) << second.err;

    const std::vector<std::string> tasks = MailTasks();
    ASSERT_EQ(tasks.size(), 2u);
    const std::string expected[] = {ReportNameAt(now), ReportNameAt(now, "-2")};
    const int rows[] = {1, 3};
    for (int i = 0; i < 2; ++i) {
        const std::string path = JsonString(tasks[i], "filepath");
        EXPECT_EQ(path, TempFolder() + "/" + expected[i]);
        EXPECT_EQ(Lines(FileText(path)).size(), rows[i] + 1u) << path;
        EXPECT_EQ(BodyRows(FileText(JsonString(tasks[i], "bodypath"))), rows[i]) << tasks[i];
        EXPECT_EQ(ModeOf(path) & 07777, 0600u);
        EXPECT_EQ(JsonString(tasks[i], "autodelete"), "1");
    }
}

// Anyone may put something in the shared temp folder under the names a run
// will use. None of it is opened: the run takes the next free name.
TEST_F(RunOutcomeTest, PlantedFileAndLinkAtTheReportNamesAreLeftAlone) {
    const std::string victim = dir_.Write("victim.txt", "keep me\n");
    const DateTime now = DateTime::Now();
    DateTime next = now;
    next.value += 60u * 10000000u;
    for (const DateTime& at : {now, next}) {
        const std::string planted = TempFolder() + "/" + ReportNameAt(at);
        ASSERT_EQ(dir_.Write("tmp/" + ReportNameAt(at), "planted\n"), planted);
        ASSERT_EQ(::chmod(planted.c_str(), 0666), 0);
        const std::string link = TempFolder() + "/" + ReportNameAt(at, "-2");
        ASSERT_EQ(::symlink(victim.c_str(), link.c_str()), 0) << link;
    }

    const auto run = RunStaytally({"-email", "desk@hotel.example"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::vector<std::string> tasks = MailTasks();
    ASSERT_EQ(tasks.size(), 1u);
    const std::string path = JsonString(tasks[0], "filepath");
    EXPECT_TRUE(FitsPattern(path, TempFolder() + "/GA############-3.csv")) << path;
    EXPECT_EQ(Lines(FileText(path)).size(), 2u);
    EXPECT_EQ(ModeOf(path) & 07777, 0600u);
    EXPECT_EQ(FileText(victim), "keep me\n");
    for (const DateTime& at : {now, next}) {
        EXPECT_EQ(FileText(TempFolder() + "/" + ReportNameAt(at)), "planted\n");
        EXPECT_TRUE(S_ISLNK(ModeOf(TempFolder() + "/" + ReportNameAt(at, "-2"))));
    }
}

TEST_F(RunOutcomeTest, ReportFileThatCannotBeWrittenQueuesNoMailAndWakesNobody) {
    const TESTSUPPORT::SendQueue queue;
    dir_.MakeDir("folder.csv");
    dir_.Write("plain", "");
    const struct {
        std::string path;
        std::string why;
    } cases[] = {
        {dir_.File("no/such/folder/r.csv"), "open report file * No such file or directory"},
        {dir_.File("plain/r.csv"), "open report file * Not a directory"},
        {dir_.File("folder.csv"), "open report file * Is a directory"},
        {"/dev/full", "write report file /dev/full: write failed: No space left on device"},
    };
    for (const auto& c : cases) {
        const auto run = RunStaytally({"~file", c.path, "-email", "desk@hotel.example"});
        ExpectCleanFailure(run, "staytally: cannot " + c.why);
        EXPECT_EQ(queue.Count(), 0) << c.path;
    }
    EXPECT_EQ(FilesIn(dir_.Path()).size(), 4u) << "tmp, root, folder.csv, plain and nothing else";
}

// The mail sender runs in a folder of its own and knows no drive letters:
// the task names every file by its absolute native path.
TEST_F(RunOutcomeTest, TaskNamesFilesByAbsoluteNativePaths) {
    const std::string work = dir_.MakeDir("work");
    dir_.MakeDir("work/sub");
    dir_.MakeDir("root/reports");
    const struct {
        std::string file;
        std::string expected;
    } cases[] = {
        {"rel.csv", work + "/rel.csv"},
        {"./sub/../sub/rel.csv", work + "/sub/../sub/rel.csv"},
        {"sub\\win.csv", work + "/sub/win.csv"},
        {"C:\\reports\\guest.csv", dir_.File("root/reports/guest.csv")},
    };
    for (const auto& c : cases) {
        SetUp();  // a fresh database
        const auto run =
            RunStaytally({"-file", c.file, "-email", "desk@hotel.example"}, "cd " + work);
        ASSERT_EQ(run.exitCode, 0) << c.file << ": " << run.err;
        const std::vector<std::string> tasks = MailTasks();
        ASSERT_EQ(tasks.size(), 1u);
        EXPECT_EQ(JsonString(tasks[0], "filepath"), c.expected) << c.file;
        EXPECT_EQ(Lines(FileText(c.expected)).size(), 2u) << c.file;
        EXPECT_EQ(JsonString(tasks[0], "bodypath").rfind(TempFolder() + "/gr", 0), 0u) << tasks[0];
    }

    // A relative temp folder, and one too long for the temp path, which
    // leaves the current folder.
    const struct {
        std::string tmpdir;
        std::string folder;
    } folders[] = {
        {"sub", work + "/sub/"},
        {"/" + std::string(300, 'd'), work + "/"},
    };
    for (const auto& f : folders) {
        SetUp();
        const auto run = RunStaytally({"-email", "desk@hotel.example"},
                                      "cd " + work + " && export TMPDIR=" + f.tmpdir);
        ASSERT_EQ(run.exitCode, 0) << f.tmpdir << ": " << run.err;
        const std::vector<std::string> tasks = MailTasks();
        ASSERT_EQ(tasks.size(), 1u);
        const std::string path = JsonString(tasks[0], "filepath");
        EXPECT_TRUE(FitsPattern(path, f.folder + "GA############.csv")) << path;
        EXPECT_EQ(Lines(FileText(path)).size(), 2u);
        EXPECT_EQ(JsonString(tasks[0], "bodypath").rfind(f.folder + "gr", 0), 0u) << tasks[0];
    }
}

// The task keeps its file path as safe text: "é" would be dropped and the
// task would name another file, so with -email such a path is refused.
TEST_F(RunOutcomeTest, PathTheTaskCannotHoldIsRefusedBeforeAnythingIsWritten) {
    const std::string accented = "rapport-\xC3\xA9t\xC3\xA9.csv";
    const std::string rule =
        ": the mail task takes file paths in printable ASCII only, without '\"' and '`', with no "
        "blank at either end";

    auto run = RunStaytally({"~file", dir_.File(accented), "-email", "desk@hotel.example"});
    ExpectCleanFailure(run, "staytally: cannot mail " + dir_.File(accented) + rule);
    EXPECT_TRUE(FileText(dir_.File(accented)).empty());

    const std::string accentedFolder = dir_.MakeDir("t\xC3\xA9mp");
    run = RunStaytally({"-email", "desk@hotel.example"}, "export TMPDIR=" + accentedFolder);
    ExpectCleanFailure(run,
                       "staytally: cannot mail " + accentedFolder + "/GA############.csv" + rule);
    EXPECT_TRUE(FilesIn(accentedFolder).empty());

    // Without a mail task the path is simply written.
    run = RunStaytally({"~file", dir_.File(accented)});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(Lines(FileText(dir_.File(accented))).size(), 2u);
}

TEST_F(RunOutcomeTest, EarlierReportIsKeptWhenTheRunFails) {
    const std::string path = dir_.Write("daily.csv", "yesterday's complete report\n");
    const std::vector<std::vector<std::string>> runs = {
        {"~file", path},
        {"~file", path, "-email", "desk@hotel.example"},
    };
    Server().StopListening();
    for (const auto& args : runs) {
        ExpectCleanFailure(RunStaytally(args),
                           "staytally: cannot reach the database: Connection refused*");
        EXPECT_EQ(FileText(path), "yesterday's complete report\n");
    }
    Server().StartListening();

    // The task cannot be stored (the mail sender's semaphore is unusable):
    // the new report is not put in place either.
    const char* const semaphore = "/dev/shm/sem.POSTWICK_SEND_QUEUE";
    sem_unlink("/POSTWICK_SEND_QUEUE");
    ASSERT_EQ(::mkdir(semaphore, 0700), 0);
    const auto run = RunStaytally(runs[1]);
    ::rmdir(semaphore);
    ExpectCleanFailure(run, "staytally: cannot store the mail task: *");
    EXPECT_EQ(FileText(path), "yesterday's complete report\n");
    EXPECT_EQ(FilesIn(dir_.Path()).size(), 3u) << "nothing beside the report";
}

// Some schedulers start jobs with descriptors closed. No file or socket of
// the run may take them: a report meant for standard output would go into
// the database connection.
TEST_F(RunOutcomeTest, ClosedStandardDescriptorsAreNeverHandedOn) {
    auto run = RunStaytally({}, "exec >&-");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err,
              "staytally: cannot write the report to standard output: Bad file descriptor\n");
    for (const std::string& request : Server().Requests()) {
        EXPECT_EQ(request.find("Timestamp"), std::string::npos) << request;
    }

    run = RunStaytally({"-?"}, "exec >&-");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "staytally: cannot write to standard output\n");

    const std::string path = dir_.File("r.csv");
    run = RunStaytally({"~file", path, "-email", "desk@hotel.example"}, "exec <&- >&- 2>&-");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(Lines(FileText(path)).size(), 2u);
    EXPECT_EQ(MailTasks().size(), 1u);

    run = RunStaytally({}, "exec <&- 2>&-");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(Lines(run.out).size(), 2u);
}

TEST_F(RunOutcomeTest, FileThatIsStandardOutputIsWrittenDirectly) {
    const auto run = RunStaytally({"-file", "/dev/stdout"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(Lines(run.out).size(), 2u) << run.out;
}

// Any local user can leave a file under the semaphore's name while the mail
// sender is down; mapping a zero-length one would end the run with SIGBUS.
TEST_F(RunOutcomeTest, DamagedSemaphoreIsAFailureLineNotACrash) {
    const char* const file = "/dev/shm/sem.POSTWICK_SEND_QUEUE";
    sem_unlink("/POSTWICK_SEND_QUEUE");
    ASSERT_EQ(::close(::open(file, O_WRONLY | O_CREAT | O_EXCL, 0666)), 0);
    const auto run = RunStaytally({"-email", "desk@hotel.example"});
    ::unlink(file);
    ExpectCleanFailure(run,
                       "staytally: cannot store the mail task: cannot use the mail sender's "
                       "semaphore POSTWICK_SEND_QUEUE: it is damaged (not a semaphore)");
}

TEST_F(RunOutcomeTest, EmailTextWithoutAnAddressIsRefusedBeforeAnyWork) {
    const struct {
        const char* list;
        const char* err;
    } cases[] = {
        {";;", "staytally: -email \";;\" holds no e-mail address"},
        {" ", "staytally: -email \" \" holds no e-mail address"},
        {";;;", "staytally: -email \";;;\" holds no e-mail address"},
        {"j\xC3\xBCrgen@hotel.example",
         "staytally: cannot mail to \"j\xC3\xBCrgen@hotel.example\": the mail task takes "
         "addresses in printable ASCII only, without '\"' and '`'"},
    };
    for (const auto& c : cases) {
        ExpectCleanFailure(RunStaytally({"-email", c.list}), c.err);
    }
    EXPECT_EQ(Server().AcceptedConnections(), 0);
}

}  // namespace
