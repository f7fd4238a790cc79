#include "dbaccess/QXTemplate.h"

#include "dbaccess/FieldLoading.h"
#include "runtime/CaseConversion.h"

namespace DBACCESS {

QXTemplate::QXTemplate()
    : disabled("disabled", false, false), filepath("filepath", 0), pos("pos", -1, 0, 0) {
    filepath.caseConversion = CORVANE::kCaseConversionLower;
    Clear();
}

QXTemplate::~QXTemplate() = default;

void QXTemplate::Clear() { ResetFields(disabled, filepath, pos); }

bool QXTemplate::SetField(const std::string& name, const std::string& text) {
    if (LoadNamedField(name, text, pos))
        pos.readOnly = true;
    else
        LoadNamedField(name, text, disabled, filepath);
    return false;
}

}  // namespace DBACCESS
