#pragma once

#include <QString>

// Starting the program with the desktop session: the value "Tessaly" under
// the machine's Run key, which is the session's autostart entry here.
class AutoRun
{
public:
    explicit AutoRun(QString programPath);

    // Set, and for this very program file (another copy's entry does not count).
    bool isOn() const;
    // Writes or removes the entry; a failure to write or remove it raises cRegistry::Failure.
    void set(bool on) const;

private:
    QString m_programPath;
};
