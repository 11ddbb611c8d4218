// Helpers for asserting what the game prints.
#pragma once

#include <string>
#include <vector>

// Splits captured output into lines (without their line feeds).
std::vector<std::string> splitLines(const std::string& text);

// The lines a run prints once its start-up is over: those after the last
// "Read shader: " line (all of them when there is none).
std::vector<std::string> linesAfterStartup(const std::vector<std::string>& lines);

// For death tests: send standard output to standard error (which EXPECT_EXIT
// matches) and read standard input from /dev/null, so a fatal path's wait
// for one character returns at once.
void routeConsoleForDeathTest();

// Escapes `text` for use in a death-test regular expression.
std::string regexEscape(const std::string& text);
