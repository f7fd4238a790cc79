#ifndef DBACCESS_QXTEMPLATEINDEX_H
#define DBACCESS_QXTEMPLATEINDEX_H

#include <cstdint>

#include "dbaccess/QXEntryIndex.h"
#include "dbaccess/QXTemplate.h"

namespace DBACCESS {

// A mailbox's template list ("evt", "msg", "ntf", "crp").
class QXTemplateIndex : public QXEntryIndex<QXTemplate>
{
public:
    explicit QXTemplateIndex(std::uint32_t maximum);
    ~QXTemplateIndex() override;
};

}  // namespace DBACCESS

#endif
