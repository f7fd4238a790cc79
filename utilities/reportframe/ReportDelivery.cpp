#include "reportframe/ReportDelivery.h"

#include <cerrno>
#include <cstring>
#include <iostream>
#include <memory>
#include <sstream>

#include "dbaccess/PostwickPost.h"
#include "dbaccess/SiteInfo.h"
#include "platform/AbsolutePath.h"
#include "platform/NativePath.h"
#include "platform/RunFiles.h"
#include "reportframe/MailTaskTexts.h"
#include "reportframe/ReportFailure.h"
#include "reportframe/ReportFile.h"
#include "reportframe/ReportFileNames.h"
#include "reportframe/ReportStrings.h"
#include "runtime/TimeText.h"

namespace {

// How many names of the temp folder a run tries for its report: the
// program's own and the numbered ones after it.
constexpr int kReportNames = 1000;

// The failure met, or an empty text.
std::string WriteToConsole(const ReportContent& report) {
    errno = 0;
    // Rows go out in the stream's blocks; the flush at the end reports a
    // write that failed on the way.
    std::cout << report.header << '\n';
    for (const ReportRow& row : report.rows) std::cout << row.line << '\n';
    if (std::cout.flush()) {
        return std::string();
    }
    const int why = errno;
    return "cannot write the report to standard output" +
           (why == 0 ? std::string() : ": " + std::string(std::strerror(why)));
}

// Header and rows into a file opened by the caller, which is then closed.
void WriteReport(ReportFile& file, const ReportContent& report, const std::string& path) {
    file.WriteLine(report.header);
    for (const ReportRow& row : report.rows) file.WriteLine(row.line);
    if (!file.Close()) {
        throw ReportFailure("cannot write report file " + path + ": " + file.Error());
    }
}

// The report, complete, beside the file the user named (see ReportFile::Kind::kReplace).
std::unique_ptr<ReportFile> WriteGivenFile(const ReportContent& report, const std::string& path) {
    auto file = std::make_unique<ReportFile>(path, ReportFile::Kind::kReplace);
    if (!file->IsOpen()) {
        throw ReportFailure("cannot open report file " + path + ": " + file->Error());
    }
    WriteReport(*file, report, path);
    return file;
}

// The report, complete, in a new file of the temp folder: under `name`, or,
// when something is there already (another run's report of this minute, or
// a file or link someone put there), under the first free numbered name
// after it. `path` gets the name used.
std::unique_ptr<ReportFile> WriteNewFile(const ReportContent& report, const std::string& name,
                                         std::string& path) {
    for (int number = 1; number <= kReportNames; ++number) {
        path = number == 1 ? name : NumberedFileName(name, number);
        auto file = std::make_unique<ReportFile>(path, ReportFile::Kind::kCreateNew);
        if (file->NameTaken()) {
            continue;
        }
        if (!file->IsOpen()) {
            throw ReportFailure("cannot open report file " + path + ": " + file->Error());
        }
        WriteReport(*file, report, path);
        return file;
    }
    throw ReportFailure("cannot open report file " + name + ": it and the " +
                        std::to_string(kReportNames - 1) + " numbered names after it are taken");
}

// Why the report could not be put in place at path; empty once it is.
std::string PutInPlace(ReportFile& file, const std::string& path) {
    return file.Keep() ? std::string()
                       : "cannot put report file " + path + " in place: " + file.Error();
}

// The path as the mail sender, a process of its own, must be given it:
// native and absolute. Empty when the current folder cannot be had.
std::string TaskPath(const std::string& path) {
    return PLATFORM::AbsolutePath(PLATFORM::NativePath(path));
}

// The site's name for the mail body: empty without a site document (or a
// connection, which the mail task then misses too). A site document the
// database refused or failed to deliver is a failure of its own.
std::string ReadSiteName(std::string& siteName) {
    std::string error;
    DBACCESS::SiteInfo site;
    if (site.Read(error) != 0 && !error.empty()) {
        return "cannot read the site information: " + error;
    }
    siteName = site.sitename.Get();
    return std::string();
}

std::string MailBody(const ReportContent& report, const std::string& siteName) {
    std::ostringstream body;
    body << siteName << "\r\n\r\n";
    body << GetReportString("Start") << ": " << FormatDateTime(report.start, "%Y-%m-%d %I:%M %p")
         << "\r\n";
    body << GetReportString("End") << ": " << FormatDateTime(report.end, "%Y-%m-%d %I:%M %p")
         << "\r\n";
    body << GetReportString("Rows") << ": " << report.rows.size() << "\r\n";
    for (const SummarySection& section : report.sections) {
        if (section.counts.empty()) {
            continue;
        }
        body << "\r\n" << GetReportString(section.title) << ":\r\n";
        for (const auto& count : section.counts) {
            body << section.name(count.first) << ": " << count.second << "\r\n";
        }
    }
    return body.str();
}

// The mail body in a temp file of its own; `taskPath` gets the name the task
// gives it. Null when it cannot be written: the mail sender then takes the
// text itself from "bodypath".
std::unique_ptr<ReportFile> WriteBody(const std::string& body, const std::string& prefix,
                                      std::string& taskPath) {
    const std::string name = MakeTempFileName(prefix);
    auto file = std::make_unique<ReportFile>(name, ReportFile::Kind::kTemp);
    file->WriteLine(body);
    taskPath = TaskPath(name);
    if (!file->Close() || taskPath.empty()) {
        return nullptr;
    }
    return file;
}

// The moment the task's insert has gone out: the task may be stored from
// now on whatever its check says, and it names the report and the body, so
// both are the task's and stay. The report is put in place at path; why it
// could not be, or empty.
std::string HandOverToTask(ReportFile& report, const std::string& path, ReportFile* body) {
    // A run stopped from here on leaves the files for the task.
    PLATFORM::HandOverRunFiles();
    if (body != nullptr) {
        body->Keep();
    }
    return PutInPlace(report, path);
}

// Writes the report and its body, stores the mail task, and once the task is
// confirmed wakes the mail sender. Whatever fails before the task's insert
// goes out ends the run leaving nothing of it behind; from then on the files
// stay with the task (HandOverToTask) and the failure says so.
void MailReport(const ReportContent& report, const std::string& emailList,
                const std::string& filePath) {
    const bool fileGiven = !filePath.empty();
    const std::string name = fileGiven ? filePath : MakeReportFileName(report.reportFilePattern);
    // Checked before anything is written. A numbered name only adds "-N".
    std::string taskPath = TaskPath(name);
    if (taskPath.empty()) {
        throw ReportFailure("cannot mail " + name + ": the current folder cannot be found");
    }
    const std::string refusal = MailPathRefusal(taskPath);
    if (!refusal.empty()) {
        throw ReportFailure(refusal);
    }

    std::string path = name;
    const std::unique_ptr<ReportFile> file =
        fileGiven ? WriteGivenFile(report, filePath) : WriteNewFile(report, name, path);
    if (path != name) {
        taskPath = TaskPath(path);
    }

    CORVANE::LIBMTA::PostwickPost post;
    post.filepath.FromString(taskPath);
    post.emailaddress.FromString(emailList);
    const std::string subject =
        report.subjectPrefix + FormatDateTime(report.end, "%Y-%m-%d at %I:%M %p");
    std::string siteName;
    const std::string siteFailure = ReadSiteName(siteName);
    if (!siteFailure.empty()) {
        throw ReportFailure(siteFailure);
    }
    const std::string body = MailBody(report, siteName);
    std::string bodyPath;
    const std::unique_ptr<ReportFile> bodyFile = WriteBody(body, report.tempPrefix, bodyPath);
    post.bodypath.FromString(bodyFile ? bodyPath : body);
    post.subject.FromString(subject);
    post.tasktype.Set(2, true);
    post.autodelete.Set(!fileGiven, true);

    bool handedOver = false;
    std::string placeFailure;
    std::string error;
    const int stored = post.Store(error, [&] {
        placeFailure = HandOverToTask(*file, path, bodyFile.get());
        handedOver = true;
    });
    if (stored != 0) {
        if (error.empty()) {
            error = post.Access().LastError();
        }
        std::string failure = "cannot store the mail task" + (error.empty() ? "" : ": " + error);
        if (handedOver) {
            failure += placeFailure.empty()
                           ? " (its report " + taskPath + " stays; the mail sender was not woken)"
                           : "; " + placeFailure + " (the mail sender was not woken)";
        }
        throw ReportFailure(failure);
    }
    // A same-folder rename that fails is rare; the sender is then not told
    // of a task whose report is not where it says.
    if (!placeFailure.empty()) {
        throw ReportFailure(placeFailure +
                            " (the mail task is stored; the mail sender was not woken)");
    }
    const std::string wakeFailure = post.WakeSender();
    if (!wakeFailure.empty()) {
        throw ReportFailure("the mail task is stored, but the mail sender was not woken: " +
                            wakeFailure);
    }
}

}  // namespace

void DeliverReport(const ReportContent& report, const std::string& emailList,
                   const std::string& filePath, const std::string& databaseFailure) {
    if (emailList.empty() && filePath.empty()) {
        std::string failure = databaseFailure;
        const std::string console = WriteToConsole(report);
        if (!console.empty()) {
            failure += (failure.empty() ? "" : "; ") + console;
        }
        if (!failure.empty()) {
            throw ReportFailure(failure);
        }
        return;
    }
    // A report the database could not fill is not written: an earlier
    // report at the path stays as it was.
    if (!databaseFailure.empty()) {
        throw ReportFailure(databaseFailure +
                            (emailList.empty() ? "" : " (the mail task could not be stored)"));
    }
    if (!emailList.empty()) {
        MailReport(report, emailList, filePath);
        return;
    }
    const std::unique_ptr<ReportFile> file = WriteGivenFile(report, filePath);
    const std::string placeFailure = PutInPlace(*file, filePath);
    if (!placeFailure.empty()) {
        throw ReportFailure(placeFailure);
    }
}
