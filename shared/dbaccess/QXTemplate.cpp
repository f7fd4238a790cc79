#include "dbaccess/QXTemplate.h"

#include "dbaccess/FieldLoading.h"

#include "runtime/CaseConversion.h"

namespace DBACCESS {

QXTemplate::QXTemplate()
{
    Clear();
}

QXTemplate::~QXTemplate() = default;

void QXTemplate::Clear()
{
    disabled = CORVANE::ValueVar<bool>("disabled", false, false);
    filepath = CORVANE::BaseStrVar<CORVANE::FilepathStrModifier>("filepath", 0);
    pos = CORVANE::ValueVar<int>("pos", -1, 0, 0);
    filepath.caseConversion = CORVANE::CaseConversionLower;
}

bool QXTemplate::SetField(const std::string& name, const std::string& text)
{
    if (LoadNamedField(name, text, pos))
        pos.readOnly = true;
    else
        LoadNamedField(name, text, disabled, filepath);
    return false;
}

}  // namespace DBACCESS
