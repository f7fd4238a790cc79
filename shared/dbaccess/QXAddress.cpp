#include "dbaccess/QXAddress.h"

#include "dbaccess/FieldLoading.h"

namespace DBACCESS {

QXAddress::QXAddress()
    : definition("definition", 0),
      description("description", 0),
      extraData("extra_data", 0),
      pos("pos", -1, 0, 0),
      rank("rank", 0, 0, 0) {
    Clear();
}

QXAddress::~QXAddress() = default;

void QXAddress::Clear() { ResetFields(definition, description, extraData, pos, rank); }

bool QXAddress::SetField(const std::string& name, const std::string& text) {
    if (LoadNamedField(name, text, pos))
        pos.readOnly = true;
    else
        LoadNamedField(name, text, definition, description, extraData, rank);
    return false;
}

}  // namespace DBACCESS
