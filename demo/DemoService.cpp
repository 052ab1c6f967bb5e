#include "DemoService.h"

#include "Market.h"
#include "MarketHost.h"
#include "ReservationDesk.h"
#include "ReservationHost.h"
#include "TlsCertificates.h"

#include <httplib.h>
#include <libxml/parser.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <thread>

#include <sys/socket.h>

namespace xr::demo {

struct Listener
{
    QString name;  // market code, or "reservations"
    std::unique_ptr<httplib::Server> server;
    std::thread thread;
    std::atomic<bool> ended{false};
    int port = -1;
};

namespace {

const char loopback[] = "127.0.0.1";
const QString reservationsName = QStringLiteral("reservations");
constexpr int threadsPerServer = 4;

void configure(httplib::Server &server, const DemoOptions &options, const QString &name)
{
    server.new_task_queue = [] { return new httplib::ThreadPool(threadsPerServer); };
    // httplib's default adds SO_REUSEPORT, with which a second service would
    // share the ports silently instead of failing to start.
    server.set_socket_options([](socket_t socket) {
        const int yes = 1;
        setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    });
    server.set_keep_alive_timeout(2); // so that stopping does not wait long for idle clients
    // No host takes bigger bodies than a reservation; without a limit httplib
    // would read any POST whole into memory.
    server.set_payload_max_length(size_t(ReservationDesk::maximumBodySize));
    if (options.log) {
        server.set_logger([log = options.log, name](const httplib::Request &request, const httplib::Response &response) {
            log(QStringLiteral("%1 %2 %3 %4").arg(name, QString::fromStdString(request.method),
                                                  QString::fromStdString(request.path)).arg(response.status));
        });
    }
}

} // namespace

DemoService::DemoService(DemoOptions options)
    : m_options(std::move(options))
{
    if (!m_options.clock)
        m_options.clock = [] { return QDateTime::currentDateTime(); };
    m_reservationHost = std::make_unique<ReservationHost>(m_options.clock);
}

DemoService::~DemoService()
{
    stop();
}

bool DemoService::start(QString &error)
{
    // libxml2 must set itself up once before threads use it.
    xmlInitParser();
    // A TLS write to a client that hung up raises SIGPIPE, which would end the
    // whole process; a careless client must not take the service down.
    std::signal(SIGPIPE, SIG_IGN);

    const std::optional<TlsFiles> tls = TlsCertificates::ensure(m_options.dataDir, error);
    if (!tls)
        return false;
    m_caCertificate = tls->caCertificate;

    const QList<Market> &markets = Market::all();
    for (const Market &market : markets) {
        auto listener = std::make_unique<Listener>();
        listener->name = market.code;
        listener->server = std::make_unique<httplib::Server>();
        m_listeners.push_back(std::move(listener));
    }
    auto secure = std::make_unique<Listener>();
    secure->name = reservationsName;
    secure->server = std::make_unique<httplib::SSLServer>(tls->serverCertificate.toLocal8Bit().constData(),
                                                          tls->serverKey.toLocal8Bit().constData());
    if (!secure->server->is_valid()) {
        error = QStringLiteral("cannot use the certificate %1").arg(tls->serverCertificate);
        m_listeners.clear();
        return false;
    }
    m_listeners.push_back(std::move(secure));

    // Bind every port first, so that a port in use stops the start before anything listens.
    for (size_t i = 0; i < m_listeners.size(); ++i) {
        Listener &listener = *m_listeners[i];
        configure(*listener.server, m_options, listener.name);
        const int wanted = m_options.portBase == 0 ? 0 : m_options.portBase + int(i);
        if (wanted == 0)
            listener.port = listener.server->bind_to_any_port(loopback);
        else if (listener.server->bind_to_port(loopback, wanted))
            listener.port = wanted;
        if (listener.port <= 0) {
            error = wanted == 0 ? QStringLiteral("cannot listen on 127.0.0.1")
                                : QStringLiteral("cannot listen on 127.0.0.1:%1 (is it in use?)").arg(wanted);
            m_listeners.clear();
            return false;
        }
    }

    for (qsizetype i = 0; i < markets.size(); ++i) {
        m_marketHosts.push_back(std::make_unique<MarketHost>(markets[i], address(markets[i].code), m_options.clock,
                                                             m_options.oldRates));
        m_marketHosts.back()->install(*m_listeners[size_t(i)]->server);
    }
    m_reservationHost->install(*m_listeners.back()->server);

    for (auto &listener : m_listeners) {
        if (!listen(*listener, error)) {
            stop();
            return false;
        }
    }
    return true;
}

bool DemoService::listen(Listener &listener, QString &error)
{
    listener.thread = std::thread([&listener] {
        listener.server->listen_after_bind();
        listener.ended = true;
    });
    // stop() is only safe once the server runs, so wait for that here.
    while (!listener.server->is_running() && !listener.ended)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    if (listener.ended) {
        error = QStringLiteral("the server on port %1 stopped at once").arg(listener.port);
        return false;
    }
    return true;
}

void DemoService::stop()
{
    // All are told first and joined after, so that their shutdowns overlap.
    for (auto &listener : m_listeners) {
        if (listener->server->is_running())
            listener->server->stop();
    }
    for (auto &listener : m_listeners) {
        if (listener->thread.joinable())
            listener->thread.join();
    }
    m_listeners.clear();
}

QString DemoService::address(const QString &listenerName) const
{
    for (const auto &listener : m_listeners) {
        if (listener->name == listenerName)
            return QStringLiteral("%1:%2").arg(QLatin1String(loopback)).arg(listener->port);
    }
    return QString();
}

QString DemoService::marketAddress(const QString &marketCode) const
{
    return Market::byCode(marketCode) ? address(marketCode) : QString();
}

QString DemoService::reservationAddress() const
{
    return address(reservationsName);
}

const ReservationBook &DemoService::reservations() const
{
    return m_reservationHost->book();
}

} // namespace xr::demo
