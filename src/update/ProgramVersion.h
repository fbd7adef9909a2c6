#pragma once

#include <QString>

// The program's version, from the project's: "1.2.0034" on the product site
// and in comparisons, "1.2 Build 0034" in the about window.
class ProgramVersion
{
public:
    static QString text();
    static QString buildText();
    // Whether `remote` names a later version than `local`, compared number by
    // number ("1.10.0000" is later than "1.9.0000"); a version that is empty
    // or not made of numbers is never later.
    static bool isNewer(const QString &remote, const QString &local);
};
