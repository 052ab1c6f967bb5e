#include "MarketHost.h"

#include "NewsFeed.h"
#include "RatesDocument.h"

#include <httplib.h>

namespace xr::demo {

namespace {

const char xmlType[] = "text/xml; charset=utf-8";

void notFound(httplib::Response &response)
{
    response.status = 404;
    response.set_content("Not found\n", "text/plain; charset=utf-8");
}

std::string text(const QByteArray &bytes)
{
    return bytes.toStdString();
}

} // namespace

MarketHost::MarketHost(const Market &market, QString address, Clock clock, bool oldRates)
    : m_market(market)
    , m_address(std::move(address))
    , m_clock(std::move(clock))
    , m_oldRates(oldRates)
    , m_branches(market)
{
}

QDateTime MarketHost::ratesTime() const
{
    // Old rates let the application's warning about stale rates be seen.
    return m_oldRates ? m_clock().addDays(-2) : m_clock();
}

void MarketHost::install(httplib::Server &server) const
{
    server.Get("/ratesxml.asp", [this](const httplib::Request &request, httplib::Response &response) {
        if (request.get_param_value("id") != "520")
            return notFound(response);
        response.set_header("Cache-Control", "no-cache");
        response.set_content(text(RatesDocument::render(m_market, ratesTime())), xmlType);
    });

    server.Get("/branchesxml.aspx", [this](const httplib::Request &request, httplib::Response &response) {
        if (request.get_param_value("datetest") != "1")
            return notFound(response);
        response.set_header("ETag", text(m_branches.entityTag()));
        if (m_branches.matches(QByteArray::fromStdString(request.get_header_value("If-None-Match")))) {
            response.status = 304; // unchanged: no body
            return;
        }
        // httplib compresses text bodies with gzip when the request accepts it.
        response.set_content(text(m_branches.bytes()), xmlType);
    });

    server.Get("/aktuellt.rss", [this](const httplib::Request &, httplib::Response &response) {
        response.set_content(text(NewsFeed::renderFeed(m_market, m_address, m_clock())),
                             "application/rss+xml; charset=utf-8");
    });

    const std::string storyPattern = "/" + m_market.newsFolder.toStdString() + R"(/(\d{1,4})\.html)";
    server.Get(storyPattern, [this](const httplib::Request &request, httplib::Response &response) {
        const std::optional<QByteArray> page = NewsFeed::renderStory(
            m_market, QByteArray::fromStdString(request.matches[1]).toInt(), m_clock());
        if (!page)
            return notFound(response);
        response.set_content(text(*page), "text/html; charset=utf-8");
    });

    server.Get("/", [this](const httplib::Request &, httplib::Response &response) {
        const QString page = QStringLiteral(
            "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>Vaxlo %1</title></head><body>\n"
            "<h1>Vaxlo demo, market %1</h1>\n<ul>\n"
            "<li><a href=\"/ratesxml.asp?id=520\">rates</a></li>\n"
            "<li><a href=\"/branchesxml.aspx?datetest=1\">stores</a></li>\n"
            "<li><a href=\"/aktuellt.rss\">news</a></li>\n</ul>\n</body></html>\n").arg(m_market.code);
        response.set_content(page.toStdString(), "text/html; charset=utf-8");
    });
}

} // namespace xr::demo
