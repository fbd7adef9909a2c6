#include "support/TestHttpServer.h"

#include <httplib.h>

#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>

namespace {

enum class Kind { Serve, Stall, CloseEarly, HoldAfter, Redirect, Trickle };

struct Route
{
    Kind kind = Kind::Serve;
    std::string body;
    int status = 200;
    std::string contentType = "text/html";
    std::chrono::milliseconds delay{0};
    size_t announced = 0;
    std::string target;
    std::string gate;   // answers of one gate wait for each other
    int gateCount = 0;
};

std::string key(const QString &path)
{
    return path.toStdString();
}

} // namespace

struct TestHttpServer::Impl
{
    httplib::Server server;
    std::thread thread;
    int port = 0;

    mutable std::mutex mutex;
    std::condition_variable released;
    bool stopping = false;
    std::map<std::string, Route> routes;
    std::map<std::string, int> hits;
    std::map<std::string, httplib::Headers> headers;
    std::map<std::string, std::chrono::steady_clock::time_point> answered;
    std::map<std::string, int> waiting;
    std::map<std::string, bool> opened;

    void handle(const httplib::Request &request, httplib::Response &response)
    {
        Route route;
        {
            std::lock_guard lock(mutex);
            ++hits[request.path];
            headers[request.path] = request.headers;
            const auto found = routes.find(request.path);
            if (found == routes.end()) {
                response.status = 404;
                response.set_content("not found", "text/plain");
                return;
            }
            route = found->second;
        }
        switch (route.kind) {
        case Kind::Stall: {
            std::unique_lock lock(mutex);
            released.wait(lock, [this] { return stopping; });
            response.status = 503;
            return;
        }
        case Kind::Redirect:
            response.set_redirect(route.target, route.status);
            return;
        case Kind::CloseEarly: {
            const std::string partial = route.body;
            response.set_content_provider(route.announced, route.contentType,
                                          [partial](size_t offset, size_t, httplib::DataSink &sink) {
                                              if (offset == 0)
                                                  sink.write(partial.data(), partial.size());
                                              return false;
                                          });
            return;
        }
        case Kind::HoldAfter: {
            const std::string partial = route.body;
            response.set_content_provider(route.announced, route.contentType,
                                          [this, partial](size_t offset, size_t, httplib::DataSink &sink) {
                                              if (offset == 0)
                                                  return sink.write(partial.data(), partial.size());
                                              std::unique_lock lock(mutex);
                                              released.wait(lock, [this] { return stopping; });
                                              return false;
                                          });
            return;
        }
        case Kind::Trickle:
            response.set_content_provider(1 << 20, route.contentType,
                                          [this, delay = route.delay](size_t, size_t, httplib::DataSink &sink) {
                                              std::unique_lock lock(mutex);
                                              if (released.wait_for(lock, delay, [this] { return stopping; }))
                                                  return false;
                                              lock.unlock();
                                              return sink.write("x", 1);
                                          });
            return;
        case Kind::Serve:
            if (!route.gate.empty()) {
                std::unique_lock lock(mutex);
                ++waiting[route.gate];
                released.notify_all();
                const bool all = released.wait_for(lock, std::chrono::seconds(10), [this, &route] {
                    return stopping || opened[route.gate] || waiting[route.gate] >= route.gateCount;
                });
                if (all && !stopping)
                    opened[route.gate] = true;
            }
            if (route.delay.count() > 0) {
                std::unique_lock lock(mutex);
                released.wait_for(lock, route.delay, [this] { return stopping; });
            }
            response.status = route.status;
            // Sent through a provider of known length, which httplib never
            // compresses: a loopback test gains nothing from brotli's work.
            // (A provider of no bytes would never finish its answer.)
            if (route.body.empty()) {
                response.set_content(route.body, route.contentType);
            } else {
                response.set_content_provider(route.body.size(), route.contentType,
                                              [body = route.body](size_t offset, size_t length, httplib::DataSink &sink) {
                                                  return sink.write(body.data() + offset, length);
                                              });
            }
            std::lock_guard lock(mutex);
            answered[request.path] = std::chrono::steady_clock::now();
            return;
        }
    }

    void set(const QString &path, Route route)
    {
        std::lock_guard lock(mutex);
        routes[key(path)] = std::move(route);
    }
};

TestHttpServer::TestHttpServer()
    : m_impl(std::make_unique<Impl>())
{
    m_impl->server.new_task_queue = [] { return new httplib::ThreadPool(24); };
    m_impl->server.Get(".*", [impl = m_impl.get()](const httplib::Request &request, httplib::Response &response) {
        impl->handle(request, response);
    });
    m_impl->port = m_impl->server.bind_to_any_port("127.0.0.1");
    m_impl->thread = std::thread([impl = m_impl.get()] { impl->server.listen_after_bind(); });
    while (!m_impl->server.is_running())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

TestHttpServer::~TestHttpServer()
{
    {
        std::lock_guard lock(m_impl->mutex);
        m_impl->stopping = true;
    }
    m_impl->released.notify_all();
    m_impl->server.stop();
    m_impl->thread.join();
}

int TestHttpServer::port() const
{
    return m_impl->port;
}

QString TestHttpServer::url(const QString &path) const
{
    return QStringLiteral("http://127.0.0.1:%1%2").arg(m_impl->port).arg(path);
}

void TestHttpServer::serve(const QString &path, const QByteArray &body, int status, const QByteArray &contentType)
{
    Route route;
    route.body = body.toStdString();
    route.status = status;
    route.contentType = contentType.toStdString();
    m_impl->set(path, std::move(route));
}

void TestHttpServer::serveDelayed(const QString &path, const QByteArray &body, std::chrono::milliseconds delay)
{
    Route route;
    route.body = body.toStdString();
    route.delay = delay;
    m_impl->set(path, std::move(route));
}

void TestHttpServer::serveTogether(const QString &path, const QByteArray &body, const QString &gate, int count)
{
    Route route;
    route.body = body.toStdString();
    route.gate = gate.toStdString();
    route.gateCount = count;
    m_impl->set(path, std::move(route));
}

bool TestHttpServer::gateOpened(const QString &gate) const
{
    std::lock_guard lock(m_impl->mutex);
    const auto found = m_impl->opened.find(gate.toStdString());
    return found != m_impl->opened.end() && found->second;
}

void TestHttpServer::stall(const QString &path)
{
    Route route;
    route.kind = Kind::Stall;
    m_impl->set(path, std::move(route));
}

void TestHttpServer::trickle(const QString &path, std::chrono::milliseconds interval)
{
    Route route;
    route.kind = Kind::Trickle;
    route.delay = interval;
    m_impl->set(path, std::move(route));
}

namespace {

Route partialRoute(Kind kind, const QByteArray &partial, qint64 announcedLength)
{
    Route route;
    route.kind = kind;
    route.body = partial.toStdString();
    route.announced = static_cast<size_t>(announcedLength);
    return route;
}

} // namespace

void TestHttpServer::closeEarly(const QString &path, const QByteArray &partial, qint64 announcedLength)
{
    m_impl->set(path, partialRoute(Kind::CloseEarly, partial, announcedLength));
}

void TestHttpServer::holdAfter(const QString &path, const QByteArray &partial, qint64 announcedLength)
{
    m_impl->set(path, partialRoute(Kind::HoldAfter, partial, announcedLength));
}

void TestHttpServer::redirect(const QString &path, const QString &target, int status)
{
    Route route;
    route.kind = Kind::Redirect;
    route.target = target.toStdString();
    route.status = status;
    m_impl->set(path, std::move(route));
}

int TestHttpServer::hits(const QString &path) const
{
    std::lock_guard lock(m_impl->mutex);
    const auto found = m_impl->hits.find(key(path));
    return found == m_impl->hits.end() ? 0 : found->second;
}

std::chrono::steady_clock::time_point TestHttpServer::lastAnswered(const QString &path) const
{
    std::lock_guard lock(m_impl->mutex);
    const auto found = m_impl->answered.find(key(path));
    return found == m_impl->answered.end() ? std::chrono::steady_clock::time_point() : found->second;
}

QByteArray TestHttpServer::lastHeader(const QString &path, const QByteArray &name) const
{
    std::lock_guard lock(m_impl->mutex);
    const auto found = m_impl->headers.find(key(path));
    if (found == m_impl->headers.end())
        return {};
    const auto header = found->second.find(name.toStdString());
    return header == found->second.end() ? QByteArray() : QByteArray::fromStdString(header->second);
}
