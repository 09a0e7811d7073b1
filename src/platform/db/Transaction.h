#pragma once

namespace db {

class Connection;

// Runs a group of statements as one: begins at construction, rolls back at destruction unless
// commit() was called.
class Transaction final {
public:
    explicit Transaction(Connection& connection);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit();

private:
    Connection& m_connection;
    bool m_done = false;
};

}  // namespace db
