#include "reportframe/ReportProgram.h"
#include "staytally/GuestActivityReport.h"

int main(int argc, char** argv) {
    static const ReportProgram program{
        "staytally",
        "\r\nGenerates report of all guest activity as a CSV file. If no arguments are given "
        "report defaults "
        "to "
        "console.\r\nTypically should be run as an automatted report via Windows Task Manager.\r\n",
        BuildGuestActivityReport};
    return RunReportProgram(program, argc, argv);
}
