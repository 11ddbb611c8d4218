// The two things the board asks of a SQL database, so that one store
// (board_store.cpp) with one set of statements runs on SQLite and on
// PostgreSQL alike.
//
// Statements are written with numbered placeholders ($1, $2, ...) and always
// run as prepared statements with bound values: user text never becomes SQL.
// Values come back as text (NULL as ""), blobs as their raw bytes; the store
// converts them. A write is a transaction that commits when its body returns
// and rolls back when it throws, so a caller that got back from write() holds
// a committed result.
#pragma once

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

struct SqlBlob {
    std::string bytes;
};
using SqlValue = std::variant<std::int64_t, double, std::string, SqlBlob>;
using SqlParams = std::vector<SqlValue>;
using SqlRow = std::vector<std::string>;
using SqlRows = std::vector<SqlRow>;

// A column's integer value (NULL, read as "", is 0).
inline std::int64_t sqlInteger(const std::string& text) {
    return text.empty() ? 0 : std::stoll(text);
}

// A statement broke a UNIQUE constraint (the transaction is rolled back).
struct UniqueViolation : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class SqlTransaction {
  public:
    virtual ~SqlTransaction() = default;
    virtual SqlRows exec(const std::string& sql, const SqlParams& params = {}) = 0;
};

class Database {
  public:
    virtual ~Database() = default;
    // One statement outside any write; safe from many threads at once.
    virtual SqlRows read(const std::string& sql, const SqlParams& params = {}) = 0;
    // `body` inside one write transaction, serialised with every other writer
    // (of this process and, for the schema, of other instances).
    virtual void write(const std::function<void(SqlTransaction&)>& body) = 0;

    // Dialect differences of the schema.
    virtual std::string idColumn() const = 0;  // auto-numbered primary key
    virtual std::string blobType() const = 0;
    // A statement that serialises schema upgrades across instances ("" if none).
    virtual std::string schemaLock() const = 0;
    // "sqlite" or "postgresql", for the health answer and the start-up line.
    virtual std::string kind() const = 0;
};
