#pragma once

#include <cstdint>

#include "dbaccess/QXAddress.h"
#include "dbaccess/QXEntryIndex.h"

namespace DBACCESS {

// A mailbox's address list ("email", "extension", "mwi", "mailbox", "pager", "phone").
class QXAddressIndex : public QXEntryIndex<QXAddress> {
public:
    explicit QXAddressIndex(std::uint32_t maximum);
    ~QXAddressIndex() override;
};

}  // namespace DBACCESS
