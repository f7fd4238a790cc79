#ifndef DAWNTALLY_WAKEUPCALLREPORT_H
#define DAWNTALLY_WAKEUPCALLREPORT_H

#include <string>

void BuildWakeupCallReport(int hours, const std::string& emailList, const std::string& filePath);

#endif
