#include "ReservationHost.h"

#include <httplib.h>

namespace xr::demo {

namespace {

const char endpoint[] = "/XmlReservation.aspx";

void reply(httplib::Response &response, const ReservationReply &answer)
{
    response.set_content(answer.toXml().toStdString(), "text/xml; charset=utf-8");
}

} // namespace

ReservationHost::ReservationHost(Clock clock)
    : m_clock(std::move(clock))
    , m_desk(m_book)
{
}

void ReservationHost::install(httplib::Server &server)
{
    server.Post(endpoint, [this](const httplib::Request &request, httplib::Response &response) {
        reply(response, m_desk.handle(QByteArray::fromStdString(request.body), m_clock()));
    });

    server.Get("/reservations", [this](const httplib::Request &, httplib::Response &response) {
        response.set_content(m_book.toJson().toStdString(), "application/json");
    });

    // httplib answers some requests itself: 413 for a body over the service's
    // limit (the desk's maximum), 400 for one it cannot read, 404 for another
    // method. The client still gets a reply document saying why.
    const httplib::Server::HandlerWithResponse unreadable = [](const httplib::Request &request,
                                                               httplib::Response &response) {
        if (request.path != endpoint)
            return httplib::Server::HandlerResponse::Unhandled;
        reply(response, response.status == 413 ? ReservationDesk::tooLarge() : ReservationDesk::notAReservation());
        return httplib::Server::HandlerResponse::Handled;
    };
    server.set_error_handler(unreadable);
}

} // namespace xr::demo
