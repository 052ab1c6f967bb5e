#include "TestCertificateAuthority.h"

#include <openssl/bio.h>
#include <openssl/pem.h>
#include <openssl/x509v3.h>

#include <atomic>

namespace xr::test {

namespace {

PrivateKeyPtr makeKey()
{
    return PrivateKeyPtr(EVP_EC_gen("P-256"));
}

bool addExtension(X509 *certificate, X509 *issuer, int nid, const char *value)
{
    X509V3_CTX context;
    X509V3_set_ctx_nodb(&context);
    X509V3_set_ctx(&context, issuer, certificate, nullptr, nullptr, 0);
    X509_EXTENSION *extension = X509V3_EXT_nconf_nid(nullptr, &context, nid, value);
    if (!extension)
        return false;
    const bool added = X509_add_ext(certificate, extension, -1) == 1;
    X509_EXTENSION_free(extension);
    return added;
}

// A certificate for the subject's key, signed by the issuer (itself when the
// issuer is null); null when OpenSSL refuses any step.
CertificatePtr makeCertificate(const QByteArray &commonName, EVP_PKEY *subjectKey, X509 *issuer,
                               EVP_PKEY *issuerKey)
{
    static std::atomic<long> nextSerial{1};
    CertificatePtr certificate(X509_new());
    X509 *c = certificate.get();
    if (!c || !subjectKey || !issuerKey)
        return {};
    X509_NAME *subject = X509_get_subject_name(c);
    const bool isAuthority = issuer == nullptr;
    X509 *signer = isAuthority ? c : issuer;
    bool ok = X509_set_version(c, 2) == 1
        && ASN1_INTEGER_set(X509_get_serialNumber(c), nextSerial++) == 1
        && X509_gmtime_adj(X509_getm_notBefore(c), -3600) != nullptr
        && X509_gmtime_adj(X509_getm_notAfter(c), 7 * 24 * 3600) != nullptr
        && X509_set_pubkey(c, subjectKey) == 1
        && X509_NAME_add_entry_by_txt(subject, "CN", MBSTRING_UTF8,
                                      reinterpret_cast<const unsigned char *>(commonName.constData()),
                                      -1, -1, 0) == 1
        && X509_set_issuer_name(c, X509_get_subject_name(signer)) == 1;
    if (isAuthority) {
        ok = ok && addExtension(c, signer, NID_basic_constraints, "critical,CA:TRUE")
            && addExtension(c, signer, NID_key_usage, "critical,keyCertSign,cRLSign")
            && addExtension(c, signer, NID_subject_key_identifier, "hash");
    } else {
        ok = ok && addExtension(c, signer, NID_basic_constraints, "critical,CA:FALSE")
            && addExtension(c, signer, NID_key_usage, "critical,digitalSignature")
            && addExtension(c, signer, NID_ext_key_usage, "serverAuth")
            && addExtension(c, signer, NID_subject_alt_name, "IP:127.0.0.1,DNS:localhost")
            && addExtension(c, signer, NID_authority_key_identifier, "keyid:always");
    }
    ok = ok && X509_sign(c, issuerKey, EVP_sha256()) > 0;
    return ok ? std::move(certificate) : CertificatePtr();
}

} // namespace

TestCertificateAuthority::TestCertificateAuthority(const QByteArray &commonName)
    : m_key(makeKey())
{
    m_certificate = makeCertificate(commonName, m_key.get(), nullptr, m_key.get());
}

QByteArray TestCertificateAuthority::certificatePem() const
{
    if (!isValid())
        return {};
    std::unique_ptr<BIO, decltype(&BIO_free)> bio(BIO_new(BIO_s_mem()), &BIO_free);
    if (!bio || PEM_write_bio_X509(bio.get(), m_certificate.get()) != 1)
        return {};
    char *data = nullptr;
    const long size = BIO_get_mem_data(bio.get(), &data);
    return QByteArray(data, static_cast<qsizetype>(size));
}

ServerIdentity TestCertificateAuthority::issueServerIdentity() const
{
    if (!isValid())
        return {};
    ServerIdentity identity;
    identity.key = makeKey();
    identity.certificate = makeCertificate("127.0.0.1", identity.key.get(), m_certificate.get(), m_key.get());
    if (!identity.certificate)
        return {};
    return identity;
}

} // namespace xr::test
