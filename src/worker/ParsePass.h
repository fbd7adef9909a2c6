#pragma once

#include "html/HtmlElement.h"
#include "worker/ParseEvent.h"

#include <QSet>
#include <QString>
#include <QStringList>

// The state of one parser pass: the known-items text, the popup buffer and the
// events so far. Every parser reports through it, so the skeleton they share
// (new-item test, buffer newest first, Msg, Complete, the error forms) lives
// in one place.
class ParsePass
{
public:
    // Thrown by a parser step that cannot go on; ends the pass with an error.
    struct Failure
    {
        int step;
        int number;
        QString description;
    };
    // Error numbers of the failures a parser can meet.
    static constexpr int NoElement = 91;
    static constexpr int BadPosition = 5;

    ParsePass(QString parserName, const QString &known);

    bool isKnown(const QString &title) const;
    // The popup shows the newest ten items of a buffer; older snippets are
    // dropped from it, so a page of thousands of items costs linear time.
    static constexpr int PopupRows = 10;

    // Whether this pass already reported an item with this snippet.
    bool hasReported(const QString &snippet) const { return m_reported.contains(snippet); }
    void markNew() { m_new = true; }
    // Puts the snippet in front of the buffer and raises Msg with the buffer.
    void report(const QString &time, const QString &info, const QString &href, const QString &snippet);

    // The element, or a failure of `step` when there is none.
    static HtmlElement require(const HtmlElement &element, int step);
    [[noreturn]] static void fail(int step, int number);

    ParseEvents complete();
    ParseEvents failed(const Failure &failure);

private:
    QString m_parserName;
    const QString &m_known;
    QStringList m_snippets; // newest first, at most PopupRows
    QSet<QString> m_reported;
    bool m_new = false;
    ParseEvents m_events;
};
