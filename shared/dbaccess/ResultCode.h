#pragma once

namespace DBACCESS {

// Results of the records' reads and writes besides 0 (done). The values are
// the product's own, which its services and scripts compare against.

// The product's result of a task write the database did not confirm.
constexpr int kWriteFailed = -46;
// The product's result of a read that found no document.
constexpr int kNotFound = -47;
// The product's result of a record that could not borrow a connection.
constexpr int kNoConnection = -50;

}  // namespace DBACCESS
