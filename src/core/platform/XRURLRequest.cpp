#include "XRURLRequest.h"

XRURLRequest::XRURLRequest(const QUrl &url)
    : m_url(url)
{
}

void XRURLRequest::setValueForHTTPHeaderField(const QString &value, const QString &field)
{
    for (auto &header : m_headers) {
        if (header.first.compare(field, Qt::CaseInsensitive) == 0) {
            header.second = value;
            return;
        }
    }
    m_headers.append({field, value});
}

void XRURLRequest::addValueForHTTPHeaderField(const QString &value, const QString &field)
{
    for (auto &header : m_headers) {
        if (header.first.compare(field, Qt::CaseInsensitive) == 0) {
            header.second += QLatin1Char(',') + value;
            return;
        }
    }
    m_headers.append({field, value});
}

QString XRURLRequest::valueForHTTPHeaderField(const QString &field) const
{
    for (const auto &header : m_headers) {
        if (header.first.compare(field, Qt::CaseInsensitive) == 0)
            return header.second;
    }
    return {};
}
