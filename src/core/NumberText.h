#pragma once

#include <QString>

// Reads the leading decimal number of a text the way the configuration's callers
// expect: optional blanks and sign, then digits; anything else (or nothing) is 0.
// "60" → 60, " -1" → -1, "30s" → 30, "abc" → 0. Values beyond int saturate.
int numberFromText(const QString &text);
