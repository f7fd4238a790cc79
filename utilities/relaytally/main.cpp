#include "relaytally/MessageDeliveryReport.h"
#include "reportframe/ReportProgram.h"

int main(int argc, char** argv) {
    static const ReportProgram program{
        "relaytally",
        "\r\nGenerates report of all message delivery activity as a CSV file. "
        "If no arguments are given report "
        "defaults to console.\r\nTypically should be run as an automatted "
        "report via Windows Task Manager.\r\n",
        BuildMessageDeliveryReport};
    return RunReportProgram(program, argc, argv);
}
