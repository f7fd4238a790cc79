#include "dbaccess/QXItemIndex.h"

namespace DBACCESS {

QXItemIndex::QXItemIndex() : QXEntryIndex<QXItem>(DefaultMaximum) {}

QXItemIndex::~QXItemIndex() = default;

}  // namespace DBACCESS
