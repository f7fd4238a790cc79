#pragma once

#include <cstdint>

#include "dbaccess/QXEntryIndex.h"
#include "dbaccess/QXTemplate.h"

namespace DBACCESS {

// A mailbox's template list ("evt", "msg", "ntf", "crp").
class QXTemplateIndex : public QXEntryIndex<QXTemplate> {
public:
    explicit QXTemplateIndex(std::uint32_t maximum);
    ~QXTemplateIndex() override;
};

}  // namespace DBACCESS
