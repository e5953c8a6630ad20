#pragma once

#include "Sandbox.h"

#include <initializer_list>

namespace twinscan::e2e {

// The result lines the program prints, as patterns for a whole line with its LF.
extern const char *const scanLinePattern;
extern const char *const doneLinePattern;
extern const char *const noDuplicatesLinePattern;

// True when `text` is exactly the lines matching `patterns`, one each, in order.
bool matchesLines(const QByteArray &text, std::initializer_list<const char *> patterns);

// A job that wrote its output: status 0, the scan's and the save's result lines on standard
// output and nothing at all on standard error.
void expectWritten(const RunResult &result);

// A scan without a duplicate: status 1, its one result line on standard output, nothing else.
void expectNothingToRemove(const RunResult &result);

} // namespace twinscan::e2e
