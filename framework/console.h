// Console output and the one way the game stops on bad data.
//
// Everything the game says goes to standard output, one line per message,
// flushed at once so that a player (or a test reading a pipe) sees each line
// as soon as it happens. Fatal paths print their lines, keep the console
// readable until the player types one character, and exit with code 1.
#pragma once

#include <string>

// Writes `line` and a line feed to standard output and flushes.
void printLine(const std::string& line);

// printLine for the lines of a fatal path's message, which the wait below
// hands to the platform (the page shows it where the desktop waits for a key).
void printFatalLine(const std::string& line);

// Blocks until one character can be read from standard input; returns at
// once at the end of input (stdin from /dev/null, a closed pipe). In the
// page there is no input: the message is reported and the wait ends at once.
// Either way the message is then forgotten: a later run (the page's next)
// reports only its own lines.
void waitForOneCharacter();

// Waits for one character, then ends the process with exit code 1.
[[noreturn]] void exitAfterKeypress();
