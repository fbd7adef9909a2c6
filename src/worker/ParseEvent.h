#pragma once

#include <QString>

#include <vector>

// One event of a parser pass, as the worker raises it.
struct ParseEvent
{
    enum Kind { Msg, Complete, Error };

    Kind kind = Msg;
    QString cellTime; // Msg
    QString cellInfo; // Msg
    QString href;     // Msg
    QString popup;    // Msg
    bool isNew = false; // Complete
    QString message;  // Error

    bool operator==(const ParseEvent &) const = default;
};

using ParseEvents = std::vector<ParseEvent>;
