#include "dbaccess/QXItemIndex.h"

namespace DBACCESS {

QXItemIndex::QXItemIndex() : QXEntryIndex<QXItem>(kDefaultMaximum) {}

QXItemIndex::~QXItemIndex() = default;

}  // namespace DBACCESS
