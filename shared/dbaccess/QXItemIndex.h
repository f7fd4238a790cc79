#pragma once

#include <cstdint>

#include "dbaccess/QXEntryIndex.h"
#include "dbaccess/QXItem.h"

namespace DBACCESS {

// A mailbox's item list ("prompts", "folders", "lists").
class QXItemIndex : public QXEntryIndex<QXItem> {
public:
    static constexpr std::uint32_t kDefaultMaximum = 10;

    QXItemIndex();
    ~QXItemIndex() override;
};

}  // namespace DBACCESS
