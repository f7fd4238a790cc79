#include "relaytally/LoadRecordingNumbers.h"

#include <map>

#include "dbaccess/MongoDBSearch.h"
#include "runtime/ValueText.h"

std::set<int> LoadRecordingNumbers(const std::string& collection) {
    std::multimap<std::string, std::string> values;
    {
        DBACCESS::MongoDBSearch search(collection);
        search.FindAll(values, "number");
    }
    std::set<int> numbers;
    for (const auto& value : values) {
        numbers.insert(CORVANE::ReadLeadingInteger(value.second));
    }
    return numbers;
}
