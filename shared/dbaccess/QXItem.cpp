#include "dbaccess/QXItem.h"

#include "dbaccess/FieldLoading.h"

namespace DBACCESS {

QXItem::QXItem()
{
    Clear();
}

QXItem::~QXItem() = default;

void QXItem::Clear()
{
    data = CORVANE::BaseStrVar<CORVANE::SafeStrModifier>("data", 0);
    description = CORVANE::BaseStrVar<CORVANE::SafeStrModifier>("description", 0);
    pos = CORVANE::ValueVar<int>("pos", -1, 0, 0);
}

bool QXItem::SetField(const std::string& name, const std::string& text)
{
    if (LoadNamedField(name, text, pos))
        pos.readOnly = true;
    else
        LoadNamedField(name, text, data, description);
    return false;
}

}  // namespace DBACCESS
