#include "dbaccess/QXItem.h"

#include "dbaccess/FieldLoading.h"

namespace DBACCESS {

QXItem::QXItem() : data("data", 0), description("description", 0), pos("pos", -1, 0, 0) { Clear(); }

QXItem::~QXItem() = default;

void QXItem::Clear() { ResetFields(data, description, pos); }

bool QXItem::SetField(const std::string& name, const std::string& text) {
    if (LoadNamedField(name, text, pos))
        pos.readOnly = true;
    else
        LoadNamedField(name, text, data, description);
    return false;
}

}  // namespace DBACCESS
