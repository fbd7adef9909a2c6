#pragma once

#include "news/NewsSource.h"

#include <QObject>
#include <QTimer>

class QProcess;

// The settings dialog's "测试" of a feed or page source: the worker program
// fetches and reads the address once, as it would for the source, in a
// process of its own; the answer is told in plain words.
class FeedProbe : public QObject
{
    Q_OBJECT

public:
    // Beyond the fetch's own deadline: a worker that hangs is ended.
    static constexpr int DeadlineMs = 45000;

    explicit FeedProbe(QString workerProgram, QObject *parent = nullptr);
    ~FeedProbe() override;

    // A probe still running is dropped for the new one.
    void probe(const NewsSource &source);
    bool running() const { return m_process != nullptr; }

    // The worker's output of a probe as the user reads it; `found`: the
    // address is a source with items.
    struct Answer
    {
        bool found = false;
        QString text;
    };
    static Answer describe(const QByteArray &output);

Q_SIGNALS:
    void finished(bool found, const QString &text);

private:
    void stop();
    void onEnded();

    QString m_program;
    QProcess *m_process = nullptr;
    QTimer m_deadline;
};
