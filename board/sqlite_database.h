// SQLite behind the Database interface: one file in the data folder.
//
// WAL journal (readers never wait for the writer), synchronous=FULL (a
// committed row survives a power cut), a busy timeout, and exactly one
// writing connection behind a mutex whose transactions begin with
// BEGIN IMMEDIATE. Readers take a connection from a small pool. Every
// connection keeps its prepared statements, keyed by their SQL text.
#pragma once

#include <memory>
#include <string>

#include "database.h"

// Opens (creating) DIR/board.sqlite3; throws std::runtime_error with a
// readable message when it cannot.
std::unique_ptr<Database> openSqliteDatabase(const std::string& folder);
