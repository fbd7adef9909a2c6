#pragma once

#include <QString>

// Where the program keeps its data (tavrin.xml, Sound/, a downloaded update):
// beside the executable when the user may write there, as in a portable
// folder; otherwise, installed read-only, in a folder of the user's own that
// is seeded from the installed defaults on first start.
class ProgramData
{
public:
    // Whether the program is installed where the user may not write.
    static bool readOnly(const QString &programFolder);
    // Whether the folder is an installation (the package manager's, marked by
    // the file InstalledMarker, or one the user may not write): such a
    // program never replaces itself, whoever runs it; its updates come from
    // the package manager.
    static bool installed(const QString &programFolder);
    static constexpr const char *InstalledMarker = "installed";
    // ~/.config/Tessaly/ (with the trailing separator).
    static QString userFolder();
    // The folder to use for a program folder; both end with a separator.
    static QString choose(const QString &programFolder, const QString &userFolder);
    // The same folder as it stands, nothing seeded (for commands that only read it).
    static QString dataFolder(const QString &programFolder);
    // The sounds the user may choose, in a data folder: "Sound/".
    static QString soundFolder(const QString &dataFolder);
    // Copies tavrin.xml and the Sound/*.wav files that the user folder lacks;
    // what is there already stays as it is.
    static void seed(const QString &programFolder, const QString &userFolder);
};
