// What a run of the real program leaves behind, for a run that succeeds and
// for one that fails: its report and mail body files, the mail task, the
// mail sender's semaphore, an earlier report at the -file path, and the
// standard descriptors it was started with.

#include <fcntl.h>
#include <semaphore.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "GuestFixtures.h"
#include "runtime/DateTime.h"
#include "runtime/TimeText.h"
#include "support/SendQueue.h"

namespace {

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
        Seed({{Oid(2, 1), DbTimeAgo(120)}});
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
    Seed({{Oid(2, 2), DbTimeAgo(100)}, {Oid(2, 3), DbTimeAgo(90), "102"}});
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

    // A path echoed in the line keeps the line whole.
    const auto run = RunStaytally({"~file", dir_.File("no/such\nfolder/r.csv")});
    EXPECT_EQ(run.err, "staytally: cannot open report file " + dir_.File("no/such\\nfolder/r.csv") +
                           ": No such file or directory\n");
}

// A FIFO at the path is written directly; with no process reading it the
// run fails at once instead of waiting for a reader that may never come.
TEST_F(RunOutcomeTest, FifoWithoutAReaderFailsTheRunAtOnce) {
    const std::string fifo = dir_.File("pipe");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"~file", fifo}, {"~file", fifo, "-email", "desk@hotel.example"}}) {
        TESTSUPPORT::ProgramResult run = RunStaytally(args);
        ExpectCleanFailure(
            run, "staytally: cannot open report file " + fifo + ": no process reads the FIFO");
    }
    EXPECT_EQ(FilesIn(dir_.Path()), (std::vector<std::string>{"pipe", "root", "tmp"}));
}

// All names of the minute up to "-999" taken: the run takes "-1000", the
// last one it tries; with that taken too it fails and says so.
TEST_F(RunOutcomeTest, NumberedReportNamesGoUpToAThousand) {
    WaitForTheStartOfAMinute();
    const DateTime now = DateTime::Now();
    dir_.Write("tmp/" + ReportNameAt(now), "planted\n");
    for (int number = 2; number <= 999; ++number) {
        dir_.Write("tmp/" + ReportNameAt(now, "-" + std::to_string(number)), "planted\n");
    }
    auto run = RunStaytally({"-email", "desk@hotel.example"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    std::vector<std::string> tasks = MailTasks();
    ASSERT_EQ(tasks.size(), 1u);
    EXPECT_EQ(JsonString(tasks[0], "filepath"), TempFolder() + "/" + ReportNameAt(now, "-1000"));

    SetUp();
    const std::vector<std::string> planted = FilesIn(TempFolder());
    run = RunStaytally({"-email", "desk@hotel.example"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "staytally: cannot open report file " + TempFolder() + "/" +
                           ReportNameAt(now) +
                           ": it and the 999 numbered names after it are taken\n");
    EXPECT_TRUE(MailTasks().empty());
    EXPECT_EQ(FilesIn(TempFolder()), planted);
}

// A scheduler that stops a run on its time limit, Ctrl-C or a closed
// terminal: the run's own files go (the report of the temp folder, the file
// beside -file, the mail body), the file at -file stays as it was, and the
// run ends by the signal, as the shell must see it.
TEST_F(RunOutcomeTest, StoppedRunLeavesNoFileOfItsOwn) {
    const std::string daily = dir_.Write("daily.csv", "yesterday's report\n");
    const std::vector<std::vector<std::string>> runs = {
        {"~file", daily, "-email", "desk@hotel.example"},
        {"-email", "desk@hotel.example"},
    };
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        for (const auto& args : runs) {
            SetUp();
            // The site document is read once the report is written.
            Server().DelayNextReply("config", 60);
            const auto run = RunStaytally(args, "", signal, [&] {
                return FilesIn(dir_.Path()).size() > 3 || !FilesIn(TempFolder()).empty();
            });
            EXPECT_EQ(run.signal, signal) << run.exitCode << " " << run.err;
            EXPECT_EQ(run.err, "");
            EXPECT_EQ(FilesIn(dir_.Path()), (std::vector<std::string>{"daily.csv", "root", "tmp"}));
            EXPECT_TRUE(FilesIn(TempFolder()).empty()) << FilesIn(TempFolder()).front();
            EXPECT_EQ(FileText(daily), "yesterday's report\n");
            EXPECT_TRUE(MailTasks().empty());
        }
    }
}

// Once the mail task was sent, its report and body belong to it: a stop
// while its write is confirmed leaves them for the mail sender.
TEST_F(RunOutcomeTest, StoppedRunLeavesTheFilesOfASentTask) {
    const TESTSUPPORT::SendQueue queue;
    Server().DelayNextReply("$cmd", 60);
    const auto run = RunStaytally({"-email", "desk@hotel.example"}, "", SIGTERM, [&] {
        for (const std::string& request : Server().Requests()) {
            if (request.find("\"op\": \"insert\"") != std::string::npos) {
                return true;
            }
        }
        return false;
    });
    EXPECT_EQ(run.signal, SIGTERM);
    const std::vector<std::string> tasks = MailTasks();
    ASSERT_EQ(tasks.size(), 1u);
    EXPECT_EQ(Lines(FileText(JsonString(tasks[0], "filepath"))).size(), 2u);
    EXPECT_EQ(BodyRows(FileText(JsonString(tasks[0], "bodypath"))), 1);
    EXPECT_EQ(FilesIn(TempFolder()).size(), 2u);
    EXPECT_EQ(queue.Count(), 0);
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

// From the moment the task's insert went out it may be stored, whatever its
// check then says (it is, with the test server): the report and the body it
// names stay, the report in place at the path the task gives, the line says
// so and names the report, and the sender sleeps on.
TEST_F(RunOutcomeTest, TaskThatMayBeStoredKeepsItsReport) {
    const TESTSUPPORT::SendQueue queue;
    const auto answer = [this](const std::string& document) {
        return [this, document] { Server().AnswerNextCommandWith("$cmd", document); };
    };
    const std::string unconfirmed = "the write was not confirmed: ";
    const struct {
        const char* what;
        std::function<void()> fault;  // on the insert's getLastError
        std::string why;
    } faults[] = {
        {"connection lost", [this] { Server().CloseConnectionMidReply("$cmd"); },
         "Connection closed: getLastError after the write to kelden.taskspostwick: the server "
         "closed the connection in the middle of a reply"},
        {"check refused", [this] { Server().FailNextQuery("$cmd", "not master", 10107); },
         unconfirmed + "not master (code 10107)"},
        {"ok: 0", [this] { Server().FailNextCommand("$cmd", "interrupted", 11601); },
         unconfirmed + "interrupted (code 11601)"},
        {"no answer document", [this] { Server().AnswerNextWithoutDocuments("$cmd"); },
         unconfirmed + "getLastError gave no answer"},
        {"write concern timed out", answer(R"({"ok": 1, "err": "timeout", "wtimeout": true})"),
         "timeout"},
        {"write error", answer(R"({"ok": 1, "err": "E11000 duplicate key", "code": 11000})"),
         "E11000 duplicate key"},
    };
    const std::string given = dir_.File("daily.csv");
    for (const auto& f : faults) {
        for (const bool fileGiven : {false, true}) {
            SCOPED_TRACE(std::string(f.what) + (fileGiven ? ", -file" : ""));
            SetUp();
            for (const std::string& name : FilesIn(TempFolder())) {
                ::unlink((TempFolder() + "/" + name).c_str());
            }
            dir_.Write("daily.csv", "yesterday's report\n");
            f.fault();
            const auto run = fileGiven
                                 ? RunStaytally({"~file", given, "-email", "desk@hotel.example"})
                                 : RunStaytally({"-email", "desk@hotel.example"});
            EXPECT_EQ(run.exitCode, 1);
            EXPECT_EQ(run.signal, 0);
            const std::vector<std::string> tasks = MailTasks();
            ASSERT_EQ(tasks.size(), 1u);
            const std::string report = JsonString(tasks[0], "filepath");
            EXPECT_EQ(run.err, "staytally: cannot store the mail task: " + f.why +
                                   "; the task may have been stored (its report " + report +
                                   " stays; the mail sender was not woken)\n");
            if (fileGiven) {
                EXPECT_EQ(report, given);
            } else {
                EXPECT_TRUE(FitsPattern(report, TempFolder() + "/GA############.csv")) << report;
            }
            EXPECT_EQ(Lines(FileText(report)).size(), 2u) << "the new report, whole";
            EXPECT_EQ(BodyRows(FileText(JsonString(tasks[0], "bodypath"))), 1) << tasks[0];
            EXPECT_EQ(FilesIn(TempFolder()).size(), fileGiven ? 1u : 2u) << "body and report";
            EXPECT_EQ(FilesIn(dir_.Path()).size(), 3u) << "tmp, root, daily.csv, nothing beside";
            EXPECT_EQ(queue.Count(), 0);
        }
    }
}

// The report cannot be renamed into place once the task went out (here a
// folder took its path while the run waited for the site information): the
// task is stored, the line says so, and the sender is not told of a report
// that is not where the task says.
TEST_F(RunOutcomeTest, ReportThatCannotBePutInPlaceAfterTheSendLeavesTheSenderAsleep) {
    const TESTSUPPORT::SendQueue queue;
    const std::string path = dir_.File("daily.csv");
    Server().DelayNextReply("config", 1.5);
    std::thread intruder([this, &path] {
        // Once the report is written beside its path, a folder takes the path.
        for (int i = 0; i < 500; ++i) {
            const std::vector<std::string> names = FilesIn(dir_.Path());
            if (std::any_of(names.begin(), names.end(), [](const std::string& name) {
                    return name.rfind("daily.csv.", 0) == 0;
                })) {
                ::mkdir(path.c_str(), 0700);
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    });
    const auto run = RunStaytally({"~file", path, "-email", "desk@hotel.example"});
    intruder.join();
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "staytally: cannot put report file " + path +
                           " in place: rename failed: Is a directory (the mail task is stored; "
                           "the mail sender was not woken)\n");
    EXPECT_EQ(MailTasks().size(), 1u);
    EXPECT_EQ(queue.Count(), 0);
    EXPECT_EQ(FilesIn(dir_.Path()).size(), 3u) << "tmp, root, the folder: nothing beside it";
    ::rmdir(path.c_str());
}

// The mail sender's semaphore opens but takes no release: damaged (filled
// with 0xff bytes) or at its maximum count. The task is stored and keeps its
// files, but a sender that was not woken is no success.
TEST_F(RunOutcomeTest, SemaphoreThatCannotBeReleasedFailsTheRunWithTheTaskStored) {
    const char* const name = "/POSTWICK_SEND_QUEUE";
    const char* const file = "/dev/shm/sem.POSTWICK_SEND_QUEUE";
    const std::string damaged(sizeof(sem_t), '\xff');
    const struct {
        const char* what;
        std::function<void()> plant;
        std::string why;
        int count;  // the count after the run, -1 none
    } cases[] = {
        {"filled with 0xff bytes",
         [&] {
             const int fd = ::open(file, O_WRONLY | O_CREAT | O_EXCL, 0666);
             ASSERT_EQ(::write(fd, damaged.data(), damaged.size()),
                       static_cast<ssize_t>(damaged.size()));
             ::close(fd);
         },
         "it is damaged (it holds no valid count)", -1},
        {"at its maximum",
         [&] {
             sem_t* full = sem_open(name, O_CREAT | O_EXCL, 0666, 200);
             ASSERT_NE(full, SEM_FAILED);
             sem_close(full);
         },
         "its count is at its maximum of 200", 200},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        sem_unlink(name);
        c.plant();
        const auto run = RunStaytally({"-email", "desk@hotel.example"});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.signal, 0);
        EXPECT_EQ(run.err,
                  "staytally: the mail task is stored, but the mail sender was not woken: cannot "
                  "release the mail sender's semaphore POSTWICK_SEND_QUEUE: " +
                      c.why + "\n");
        const std::vector<std::string> tasks = MailTasks();
        ASSERT_EQ(tasks.size(), 1u);
        EXPECT_EQ(Lines(FileText(JsonString(tasks[0], "filepath"))).size(), 2u) << tasks[0];
        EXPECT_EQ(BodyRows(FileText(JsonString(tasks[0], "bodypath"))), 1) << tasks[0];
        if (c.count < 0) {
            EXPECT_EQ(FileText(file), damaged) << "left as it was";
        } else {
            sem_t* left = sem_open(name, 0);
            ASSERT_NE(left, SEM_FAILED);
            int count = -1;
            sem_getvalue(left, &count);
            sem_close(left);
            EXPECT_EQ(count, c.count);
        }
        sem_unlink(name);
        for (const std::string& made : FilesIn(TempFolder())) {
            ::unlink((TempFolder() + "/" + made).c_str());
        }
    }
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
        // The refusal stays one line: what the list holds is shown escaped.
        {";\n;", "staytally: -email \";\\n;\" holds no e-mail address"},
        {"desk@hotel.example\nstaytally: all is well",
         "staytally: cannot mail to \"desk@hotel.example\\nstaytally: all is well\": the mail "
         "task takes addresses in printable ASCII only, without '\"' and '`'"},
    };
    for (const auto& c : cases) {
        ExpectCleanFailure(RunStaytally({"-email", c.list}), c.err);
    }
    EXPECT_EQ(Server().AcceptedConnections(), 0);
}

}  // namespace
