// SQLite behind the Database interface (see sqlite_database.h).
#include "sqlite_database.h"

#include <sqlite3.h>

#include <condition_variable>
#include <filesystem>
#include <map>
#include <mutex>

namespace {

constexpr int kBusyTimeoutMs = 5000;
constexpr std::size_t kReaders = 4;

// "$3" placeholders become SQLite's numbered "?3".
std::string sqliteText(std::string sql) {
    for (char& c : sql) {
        if (c == '$') {
            c = '?';
        }
    }
    return sql;
}

struct StatementCloser {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementCloser>;

// One open connection and its prepared statements; not shared between
// threads at the same time.
class Connection {
  public:
    explicit Connection(const std::string& path) {
        const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX;
        if (sqlite3_open_v2(path.c_str(), &db_, flags, nullptr) != SQLITE_OK) {
            const std::string message = db_ ? sqlite3_errmsg(db_) : "out of memory";
            sqlite3_close(db_);
            throw std::runtime_error("Cannot open the database '" + path + "': " + message);
        }
        sqlite3_busy_timeout(db_, kBusyTimeoutMs);
        run("PRAGMA journal_mode=WAL");
        run("PRAGMA synchronous=FULL");
    }
    ~Connection() {
        statements_.clear();
        sqlite3_close(db_);
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    SqlRows run(const std::string& sql, const SqlParams& params = {}) {
        sqlite3_stmt* statement = prepared(sql);
        sqlite3_reset(statement);
        sqlite3_clear_bindings(statement);
        for (std::size_t i = 0; i < params.size(); ++i) {
            bind(statement, static_cast<int>(i + 1), params[i]);
        }
        SqlRows rows;
        int status;
        while ((status = sqlite3_step(statement)) == SQLITE_ROW) {
            rows.push_back(rowOf(statement));
        }
        sqlite3_reset(statement);
        if (status != SQLITE_DONE) {
            fail(status);
        }
        return rows;
    }

  private:
    sqlite3_stmt* prepared(const std::string& sql) {
        auto found = statements_.find(sql);
        if (found != statements_.end()) {
            return found->second.get();
        }
        sqlite3_stmt* raw = nullptr;
        const std::string text = sqliteText(sql);
        if (sqlite3_prepare_v2(db_, text.c_str(), -1, &raw, nullptr) != SQLITE_OK) {
            throw std::runtime_error(std::string("SQLite: ") + sqlite3_errmsg(db_));
        }
        return statements_.emplace(sql, Statement(raw)).first->second.get();
    }

    static void bind(sqlite3_stmt* statement, int index, const SqlValue& value) {
        if (auto* number = std::get_if<std::int64_t>(&value)) {
            sqlite3_bind_int64(statement, index, *number);
        } else if (auto* real = std::get_if<double>(&value)) {
            sqlite3_bind_double(statement, index, *real);
        } else if (auto* text = std::get_if<std::string>(&value)) {
            sqlite3_bind_text64(statement, index, text->data(), text->size(), SQLITE_TRANSIENT,
                                SQLITE_UTF8);
        } else {
            const std::string& bytes = std::get<SqlBlob>(value).bytes;
            sqlite3_bind_blob64(statement, index, bytes.data(), bytes.size(), SQLITE_TRANSIENT);
        }
    }

    static SqlRow rowOf(sqlite3_stmt* statement) {
        SqlRow row;
        const int columns = sqlite3_column_count(statement);
        for (int i = 0; i < columns; ++i) {
            const void* bytes = sqlite3_column_blob(statement, i);
            const int size = sqlite3_column_bytes(statement, i);
            row.emplace_back(bytes ? static_cast<const char*>(bytes) : "",
                             static_cast<std::size_t>(size));
        }
        return row;
    }

    [[noreturn]] void fail(int status) {
        const std::string message = std::string("SQLite: ") + sqlite3_errmsg(db_);
        if (status == SQLITE_CONSTRAINT &&
            sqlite3_extended_errcode(db_) == SQLITE_CONSTRAINT_UNIQUE) {
            throw UniqueViolation(message);
        }
        throw std::runtime_error(message);
    }

    sqlite3* db_ = nullptr;
    std::map<std::string, Statement> statements_;
};

class WriteTransaction : public SqlTransaction {
  public:
    explicit WriteTransaction(Connection& connection) : connection_(connection) {}
    SqlRows exec(const std::string& sql, const SqlParams& params) override {
        return connection_.run(sql, params);
    }

  private:
    Connection& connection_;
};

class SqliteDatabase : public Database {
  public:
    explicit SqliteDatabase(const std::string& path) : writer_(path) {
        for (std::size_t i = 0; i < kReaders; ++i) {
            readers_.push_back(std::make_unique<Connection>(path));
        }
    }

    SqlRows read(const std::string& sql, const SqlParams& params) override {
        std::unique_ptr<Connection> connection = takeReader();
        struct Return {
            SqliteDatabase& db;
            std::unique_ptr<Connection>& connection;
            ~Return() { db.giveBack(std::move(connection)); }
        } giveBackLater{*this, connection};
        return connection->run(sql, params);
    }

    void write(const std::function<void(SqlTransaction&)>& body) override {
        std::lock_guard<std::mutex> lock(writeMutex_);
        writer_.run("BEGIN IMMEDIATE");
        try {
            WriteTransaction transaction(writer_);
            body(transaction);
            writer_.run("COMMIT");
        } catch (...) {
            writer_.run("ROLLBACK");
            throw;
        }
    }

    std::string idColumn() const override { return "INTEGER PRIMARY KEY AUTOINCREMENT"; }
    std::string blobType() const override { return "BLOB"; }
    std::string schemaLock() const override { return ""; }
    std::string kind() const override { return "sqlite"; }

  private:
    std::unique_ptr<Connection> takeReader() {
        std::unique_lock<std::mutex> lock(readMutex_);
        readerFree_.wait(lock, [this] { return !readers_.empty(); });
        std::unique_ptr<Connection> connection = std::move(readers_.back());
        readers_.pop_back();
        return connection;
    }
    void giveBack(std::unique_ptr<Connection> connection) {
        std::lock_guard<std::mutex> lock(readMutex_);
        readers_.push_back(std::move(connection));
        readerFree_.notify_one();
    }

    std::mutex writeMutex_;
    Connection writer_;
    std::mutex readMutex_;
    std::condition_variable readerFree_;
    std::vector<std::unique_ptr<Connection>> readers_;
};

}  // namespace

std::unique_ptr<Database> openSqliteDatabase(const std::string& folder) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        throw std::runtime_error("Cannot create the data folder '" + folder +
                                 "': " + error.message());
    }
    return std::make_unique<SqliteDatabase>(folder + "/board.sqlite3");
}
