#include "dbaccess/QXTemplateIndex.h"

namespace DBACCESS {

QXTemplateIndex::QXTemplateIndex(std::uint32_t maximum) : QXEntryIndex<QXTemplate>(maximum) {}

QXTemplateIndex::~QXTemplateIndex() = default;

}  // namespace DBACCESS
