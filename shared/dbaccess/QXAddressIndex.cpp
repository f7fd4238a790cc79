#include "dbaccess/QXAddressIndex.h"

namespace DBACCESS {

QXAddressIndex::QXAddressIndex(std::uint32_t maximum) : QXEntryIndex<QXAddress>(maximum) {}

QXAddressIndex::~QXAddressIndex() = default;

}  // namespace DBACCESS
