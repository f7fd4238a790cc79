#include "dawntally/WakeupCallReport.h"
#include "reportframe/ReportProgram.h"

int main(int argc, char** argv) {
    static const ReportProgram program{
        "dawntally",
        "\r\nGenerates wakeup call reports as CSV file. If no arguments are given report defaults "
        "to "
        "console.\r\n"
        "Typically should be run as an automatted report via Windows Task Manager.\r\n",
        BuildWakeupCallReport};
    return RunReportProgram(program, argc, argv);
}
