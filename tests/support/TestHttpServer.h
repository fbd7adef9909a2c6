#pragma once

#include <QByteArray>
#include <QString>

#include <chrono>
#include <memory>

// A real HTTP server on 127.0.0.1 for tests, on a free port, serving in its own
// threads. Each path is set up with one behaviour; unknown paths answer 404.
class TestHttpServer
{
public:
    TestHttpServer();
    ~TestHttpServer();

    TestHttpServer(const TestHttpServer &) = delete;
    TestHttpServer &operator=(const TestHttpServer &) = delete;

    int port() const;
    QString url(const QString &path) const;

    void serve(const QString &path, const QByteArray &body, int status = 200,
               const QByteArray &contentType = "text/html");
    void serveDelayed(const QString &path, const QByteArray &body, std::chrono::milliseconds delay);
    // Holds the answer until `count` requests of the gate are waiting at once
    // (at most ten seconds), then answers them all: proof that they overlapped.
    void serveTogether(const QString &path, const QByteArray &body, const QString &gate, int count);
    bool gateOpened(const QString &gate) const;
    // Accepts the request and never answers (until the server is destroyed).
    void stall(const QString &path);
    // Announces a megabyte and sends one byte of it every `interval`, never going quiet for long.
    void trickle(const QString &path, std::chrono::milliseconds interval);
    // Announces `announcedLength` bytes, sends `partial`, then drops the connection.
    void closeEarly(const QString &path, const QByteArray &partial, qint64 announcedLength);
    // Announces `announcedLength` bytes, sends `partial`, then holds the
    // connection without another byte (until the server is destroyed).
    void holdAfter(const QString &path, const QByteArray &partial, qint64 announcedLength);
    void redirect(const QString &path, const QString &target, int status = 302);

    int hits(const QString &path) const;
    // When the latest answer for `path` was handed to the connection.
    std::chrono::steady_clock::time_point lastAnswered(const QString &path) const;
    // A request header of the latest request for `path` (empty when absent).
    QByteArray lastHeader(const QString &path, const QByteArray &name) const;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};
