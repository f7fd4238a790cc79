#include "reportframe/ReportDelivery.h"

#include <iostream>
#include <sstream>
#include <vector>

#include "dbaccess/PostwickPost.h"
#include "dbaccess/SiteInfo.h"
#include "reportframe/ReportFailure.h"
#include "reportframe/ReportFile.h"
#include "reportframe/ReportFileNames.h"
#include "reportframe/ReportProgram.h"
#include "reportframe/ReportStrings.h"
#include "runtime/TimeText.h"

namespace {

// Each returns the failure it met, or an empty text.

std::string WriteToConsole(const ReportContent& report) {
    std::cout << report.header << std::endl;
    for (const auto& row : report.rows) {
        std::cout << row.second << std::endl;
    }
    return std::cout ? std::string() : "cannot write the report to standard output";
}

std::string WriteToFile(const ReportContent& report, const std::string& path,
                        ReportFile::Links links) {
    ReportFile file(path, links);
    if (!file.IsOpen()) {
        return "cannot open report file " + path + ": " + file.Error();
    }
    file.WriteLine(report.header);
    for (const auto& row : report.rows) {
        file.WriteLine(row.second);
    }
    if (!file.Close()) {
        return "cannot write report file " + path + ": " + file.Error();
    }
    return std::string();
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

std::string QueueMail(const ReportContent& report, const std::string& reportPath,
                      const std::string& emailList, bool fileGiven) {
    CORVANE::LIBMTA::PostwickPost post;
    post.filepath.FromString(reportPath);
    post.emailaddress.FromString(emailList);
    const std::string subject =
        report.subjectPrefix + FormatDateTime(report.end, "%Y-%m-%d at %I:%M %p");
    std::string siteName;
    const std::string siteFailure = ReadSiteName(siteName);
    if (!siteFailure.empty()) {
        return siteFailure;
    }
    const std::string body = MailBody(report, siteName);

    // The body goes to a file of its own; when that cannot be written the
    // mail sender takes the text itself from "bodypath".
    post.bodypath.FromString(MakeTempFileName(CurrentReportProgram().tempPrefix));
    ReportFile bodyFile(post.bodypath.Get(), ReportFile::Links::Refuse);
    bodyFile.WriteLine(body);
    if (!bodyFile.Close()) {
        post.bodypath.FromString(body);
    }

    post.subject.FromString(subject);
    post.tasktype.Set(2, true);
    post.autodelete.Set(!fileGiven, true);

    std::string error;
    if (post.Write(error) != 0) {
        if (error.empty()) {
            error = post.Access().LastError();
        }
        return "cannot store the mail task" + (error.empty() ? std::string() : ": " + error);
    }
    return std::string();
}

}  // namespace

void DeliverReport(const ReportContent& report, const std::string& emailList,
                   const std::string& filePath, const std::string& databaseFailure) {
    std::vector<std::string> failures;
    if (!databaseFailure.empty()) {
        failures.push_back(databaseFailure);
    }
    auto note = [&failures](const std::string& failure) {
        if (!failure.empty()) {
            failures.push_back(failure);
        }
    };

    if (emailList.empty() && filePath.empty()) {
        note(WriteToConsole(report));
    } else {
        const bool fileGiven = !filePath.empty();
        const std::string path = fileGiven ? filePath : MakeReportFileName();
        note(WriteToFile(report, path,
                         fileGiven ? ReportFile::Links::Follow : ReportFile::Links::Refuse));
        if (!emailList.empty()) {
            note(QueueMail(report, path, emailList, fileGiven));
        }
    }

    if (!failures.empty()) {
        std::string text = failures.front();
        for (std::size_t i = 1; i < failures.size(); ++i) {
            text += "; " + failures[i];
        }
        throw ReportFailure(text);
    }
}
