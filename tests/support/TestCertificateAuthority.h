#pragma once

#include <QByteArray>

#include <openssl/evp.h>
#include <openssl/x509.h>

#include <memory>

namespace xr::test {

struct PrivateKeyDeleter
{
    void operator()(EVP_PKEY *key) const { EVP_PKEY_free(key); }
};
struct CertificateDeleter
{
    void operator()(X509 *certificate) const { X509_free(certificate); }
};
using PrivateKeyPtr = std::unique_ptr<EVP_PKEY, PrivateKeyDeleter>;
using CertificatePtr = std::unique_ptr<X509, CertificateDeleter>;

// A server's key and certificate; both are null when making them failed.
struct ServerIdentity
{
    PrivateKeyPtr key;
    CertificatePtr certificate;
};

// A certificate authority made at run time, so that HTTPS tests need no key
// material in the source tree. Keys are P-256, which is quick to generate.
class TestCertificateAuthority
{
public:
    explicit TestCertificateAuthority(const QByteArray &commonName);

    bool isValid() const { return m_key && m_certificate; }
    // The authority's certificate in PEM, for a client to trust.
    QByteArray certificatePem() const;
    // A certificate for 127.0.0.1 and localhost, signed by this authority.
    ServerIdentity issueServerIdentity() const;

private:
    PrivateKeyPtr m_key;
    CertificatePtr m_certificate;
};

} // namespace xr::test
