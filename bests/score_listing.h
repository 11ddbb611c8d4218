// What `quorland --scores` prints: the tables of bests as text, one line
// each, with every recording's full path so it can be given to --replay or
// --verify as it stands. A pure function of the table and its folder.
#pragma once

#include <string>
#include <vector>

#include "bests/best_table.h"

// `read` is the table found in `folder` ("" when there is no home).
std::vector<std::string> scoreLines(const TableRead& read, const std::string& folder);
