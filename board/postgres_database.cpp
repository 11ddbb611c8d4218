// PostgreSQL behind the Database interface (see postgres_database.h).
#include "postgres_database.h"

#include <condition_variable>
#include <iomanip>
#include <map>
#include <mutex>
#include <pqxx/pqxx>
#include <sstream>

namespace {

constexpr pqxx::oid kByteaOid = 17;

// A connection and the names of the statements prepared on it.
struct PooledConnection {
    explicit PooledConnection(const std::string& url) : connection(url) {}
    pqxx::connection connection;
    std::map<std::string, std::string> prepared;  // SQL text -> statement name
};

std::string textOf(const SqlValue& value) {
    if (auto* number = std::get_if<std::int64_t>(&value)) {
        return std::to_string(*number);
    }
    if (auto* real = std::get_if<double>(&value)) {
        std::ostringstream out;
        out << std::setprecision(17) << *real;
        return out.str();
    }
    if (auto* text = std::get_if<std::string>(&value)) {
        return *text;
    }
    // bytea in its hex input form
    static const char digits[] = "0123456789abcdef";
    const std::string& bytes = std::get<SqlBlob>(value).bytes;
    std::string hex = "\\x";
    hex.reserve(2 + 2 * bytes.size());
    for (unsigned char byte : bytes) {
        hex += digits[byte >> 4];
        hex += digits[byte & 15];
    }
    return hex;
}

SqlRows rowsOf(const pqxx::result& result) {
    SqlRows rows;
    for (const pqxx::row& row : result) {
        SqlRow values;
        for (const pqxx::field& field : row) {
            if (field.is_null()) {
                values.emplace_back();
            } else if (field.type() == kByteaOid) {
                values.push_back(pqxx::binarystring(field).str());
            } else {
                values.emplace_back(field.c_str(), field.size());
            }
        }
        rows.push_back(std::move(values));
    }
    return rows;
}

SqlRows execute(PooledConnection& pooled, pqxx::transaction_base& work, const std::string& sql,
                const SqlParams& params) {
    if (params.empty()) {
        return rowsOf(work.exec(sql));
    }
    auto found = pooled.prepared.find(sql);
    if (found == pooled.prepared.end()) {
        const std::string name = "s" + std::to_string(pooled.prepared.size());
        pooled.connection.prepare(name, sql);
        found = pooled.prepared.emplace(sql, name).first;
    }
    std::vector<std::string> texts;
    for (const SqlValue& value : params) {
        texts.push_back(textOf(value));
    }
    try {
        return rowsOf(work.exec_prepared(found->second, pqxx::prepare::make_dynamic_params(texts)));
    } catch (const pqxx::unique_violation& error) {
        throw UniqueViolation(error.what());
    }
}

class Transaction : public SqlTransaction {
  public:
    Transaction(PooledConnection& pooled, pqxx::work& work) : pooled_(pooled), work_(work) {}
    SqlRows exec(const std::string& sql, const SqlParams& params) override {
        return execute(pooled_, work_, sql, params);
    }

  private:
    PooledConnection& pooled_;
    pqxx::work& work_;
};

class PostgresDatabase : public Database {
  public:
    PostgresDatabase(std::string url, std::size_t poolSize)
        : url_(std::move(url)), free_(poolSize) {
        idle_.push_back(std::make_unique<PooledConnection>(url_));
    }

    SqlRows read(const std::string& sql, const SqlParams& params) override {
        SqlRows rows;
        withConnection([&](PooledConnection& pooled) {
            pqxx::read_transaction work(pooled.connection);
            rows = execute(pooled, work, sql, params);
            work.commit();
        });
        return rows;
    }

    void write(const std::function<void(SqlTransaction&)>& body) override {
        withConnection([&](PooledConnection& pooled) {
            pqxx::work work(pooled.connection);
            Transaction transaction(pooled, work);
            body(transaction);
            work.commit();
        });
    }

    std::string idColumn() const override { return "BIGSERIAL PRIMARY KEY"; }
    std::string blobType() const override { return "BYTEA"; }
    std::string schemaLock() const override { return "SELECT pg_advisory_xact_lock(72690029)"; }
    std::string kind() const override { return "postgresql"; }

  private:
    // Runs `use` with a pooled connection; a connection that broke is dropped.
    void withConnection(const std::function<void(PooledConnection&)>& use) {
        std::unique_ptr<PooledConnection> pooled = take();
        try {
            use(*pooled);
        } catch (...) {
            giveBack(pooled->connection.is_open() ? std::move(pooled) : nullptr);
            throw;
        }
        giveBack(std::move(pooled));
    }

    std::unique_ptr<PooledConnection> take() {
        std::unique_lock<std::mutex> lock(mutex_);
        available_.wait(lock, [this] { return free_ > 0; });
        --free_;
        if (idle_.empty()) {
            lock.unlock();
            try {
                return std::make_unique<PooledConnection>(url_);
            } catch (...) {
                giveBack(nullptr);
                throw;
            }
        }
        std::unique_ptr<PooledConnection> pooled = std::move(idle_.back());
        idle_.pop_back();
        return pooled;
    }

    void giveBack(std::unique_ptr<PooledConnection> pooled) {
        std::lock_guard<std::mutex> lock(mutex_);
        if (pooled) {
            idle_.push_back(std::move(pooled));
        }
        ++free_;
        available_.notify_one();
    }

    const std::string url_;
    std::mutex mutex_;
    std::condition_variable available_;
    std::size_t free_;  // connections that may still be handed out
    std::vector<std::unique_ptr<PooledConnection>> idle_;
};

}  // namespace

std::unique_ptr<Database> openPostgresDatabase(const std::string& url, std::size_t poolSize) {
    try {
        return std::make_unique<PostgresDatabase>(url, poolSize);
    } catch (const std::exception& error) {
        throw std::runtime_error(std::string("Cannot connect to the PostgreSQL database: ") +
                                 error.what());
    }
}
