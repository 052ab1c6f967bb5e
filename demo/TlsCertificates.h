#pragma once

#include <QString>

#include <optional>

namespace xr::demo {

struct TlsFiles
{
    QString caCertificate;      // what the application trusts
    QString serverCertificate;  // for 127.0.0.1 and localhost, issued by the CA
    QString serverKey;
};

// The reservation endpoint's certificates: a private CA and a server
// certificate it signed, kept in the service's data folder. They are made at
// first start, and made anew when they are missing, broken, do not belong
// together or are close to expiry.
class TlsCertificates
{
public:
    static std::optional<TlsFiles> ensure(const QString &folder, QString &error);
};

} // namespace xr::demo
