#include "dbaccess/QXAddress.h"

#include "dbaccess/FieldLoading.h"

namespace DBACCESS {

QXAddress::QXAddress()
{
    Clear();
}

QXAddress::~QXAddress() = default;

void QXAddress::Clear()
{
    definition = CORVANE::BaseStrVar<CORVANE::PrintableStrModifier>("definition", 0);
    description = CORVANE::BaseStrVar<CORVANE::PrintableStrModifier>("description", 0);
    extraData = CORVANE::BaseStrVar<CORVANE::PrintableStrModifier>("extra_data", 0);
    pos = CORVANE::ValueVar<int>("pos", -1, 0, 0);
    rank = CORVANE::ValueVar<int>("rank", 0, 0, 0);
}

bool QXAddress::SetField(const std::string& name, const std::string& text)
{
    if (LoadNamedField(name, text, pos))
        pos.readOnly = true;
    else
        LoadNamedField(name, text, definition, description, extraData, rank);
    return false;
}

}  // namespace DBACCESS
