#include "TlsCertificates.h"

#include <QDir>
#include <QFile>

#include <openssl/bn.h>
#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <memory>
#include <unistd.h>

namespace xr::demo {

namespace {

using Key = std::unique_ptr<EVP_PKEY, decltype(&EVP_PKEY_free)>;
using Certificate = std::unique_ptr<X509, decltype(&X509_free)>;
using Bio = std::unique_ptr<BIO, decltype(&BIO_free)>;
using BigNumber = std::unique_ptr<BIGNUM, decltype(&BN_free)>;

constexpr long caDays = 3650;
constexpr long serverDays = 825;
constexpr long renewalMarginDays = 30;

struct Extension
{
    int nid;
    const char *value;
};

Key newKey()
{
    return Key(EVP_EC_gen("P-256"), EVP_PKEY_free);
}

bool addExtension(X509 *certificate, X509 *issuer, const Extension &extension)
{
    X509V3_CTX context;
    X509V3_set_ctx_nodb(&context);
    X509V3_set_ctx(&context, issuer, certificate, nullptr, nullptr, 0);
    X509_EXTENSION *made = X509V3_EXT_nconf_nid(nullptr, &context, extension.nid, extension.value);
    if (!made)
        return false;
    const bool added = X509_add_ext(certificate, made, -1) == 1;
    X509_EXTENSION_free(made);
    return added;
}

// A certificate for `subjectKey`, signed by `issuerKey`; with no issuer
// certificate it is self-signed.
Certificate issue(const char *commonName, EVP_PKEY *subjectKey, X509 *issuer, EVP_PKEY *issuerKey, long days,
                  std::initializer_list<Extension> extensions)
{
    Certificate certificate(X509_new(), X509_free);
    BigNumber serial(BN_new(), BN_free);
    if (!certificate || !serial || X509_set_version(certificate.get(), 2) != 1
        || BN_rand(serial.get(), 120, BN_RAND_TOP_ANY, BN_RAND_BOTTOM_ANY) != 1
        || !BN_to_ASN1_INTEGER(serial.get(), X509_get_serialNumber(certificate.get()))
        || !X509_gmtime_adj(X509_getm_notBefore(certificate.get()), -3600)
        || !X509_gmtime_adj(X509_getm_notAfter(certificate.get()), days * 86400)
        || X509_set_pubkey(certificate.get(), subjectKey) != 1)
        return Certificate(nullptr, X509_free);

    X509_NAME *name = X509_get_subject_name(certificate.get());
    const auto text = [](const char *value) { return reinterpret_cast<const unsigned char *>(value); };
    if (X509_NAME_add_entry_by_txt(name, "O", MBSTRING_UTF8, text("Vaxlo demo service"), -1, -1, 0) != 1
        || X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_UTF8, text(commonName), -1, -1, 0) != 1
        || X509_set_issuer_name(certificate.get(), issuer ? X509_get_subject_name(issuer) : name) != 1)
        return Certificate(nullptr, X509_free);

    X509 *signer = issuer ? issuer : certificate.get();
    for (const Extension &extension : extensions) {
        if (!addExtension(certificate.get(), signer, extension))
            return Certificate(nullptr, X509_free);
    }
    if (X509_sign(certificate.get(), issuerKey, EVP_sha256()) <= 0)
        return Certificate(nullptr, X509_free);
    return certificate;
}

QByteArray bioBytes(BIO *bio)
{
    char *data = nullptr;
    const long size = BIO_get_mem_data(bio, &data);
    return QByteArray(data, qsizetype(size));
}

QByteArray certificatePem(X509 *certificate)
{
    Bio bio(BIO_new(BIO_s_mem()), BIO_free);
    return bio && PEM_write_bio_X509(bio.get(), certificate) == 1 ? bioBytes(bio.get()) : QByteArray();
}

QByteArray keyPem(EVP_PKEY *key)
{
    Bio bio(BIO_new(BIO_s_mem()), BIO_free);
    const bool written = bio && PEM_write_bio_PrivateKey(bio.get(), key, nullptr, nullptr, 0, nullptr, nullptr) == 1;
    return written ? bioBytes(bio.get()) : QByteArray();
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

Certificate readCertificate(const QString &path)
{
    const QByteArray pem = fileBytes(path);
    Bio bio(BIO_new_mem_buf(pem.constData(), int(pem.size())), BIO_free);
    return Certificate(bio ? PEM_read_bio_X509(bio.get(), nullptr, nullptr, nullptr) : nullptr, X509_free);
}

Key readKey(const QString &path)
{
    const QByteArray pem = fileBytes(path);
    Bio bio(BIO_new_mem_buf(pem.constData(), int(pem.size())), BIO_free);
    return Key(bio ? PEM_read_bio_PrivateKey(bio.get(), nullptr, nullptr, nullptr) : nullptr, EVP_PKEY_free);
}

// Written beside and renamed into place, with the permissions from the start,
// so that a key is never readable by others, not even for a moment.
bool writeFile(const QString &path, const QByteArray &bytes, mode_t mode)
{
    if (bytes.isEmpty())
        return false;
    const QByteArray target = QFile::encodeName(path);
    const QByteArray temporary = target + ".new";
    const int fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode);
    if (fd < 0)
        return false;
    ::fchmod(fd, mode); // a file left over from an interrupted run keeps its old mode otherwise
    qsizetype written = 0;
    while (written < bytes.size()) {
        const ssize_t step = ::write(fd, bytes.constData() + written, size_t(bytes.size() - written));
        if (step <= 0)
            break;
        written += step;
    }
    const bool closed = ::close(fd) == 0;
    return written == bytes.size() && closed && std::rename(temporary.constData(), target.constData()) == 0;
}

bool validBeyondMargin(X509 *certificate)
{
    time_t limit = std::time(nullptr) + renewalMarginDays * 86400;
    return X509_cmp_time(X509_get0_notAfter(certificate), &limit) > 0;
}

bool usable(const TlsFiles &files)
{
    const Certificate ca = readCertificate(files.caCertificate);
    const Certificate server = readCertificate(files.serverCertificate);
    const Key key = readKey(files.serverKey);
    return ca && server && key && X509_check_private_key(server.get(), key.get()) == 1
        && X509_verify(server.get(), X509_get0_pubkey(ca.get())) == 1 && validBeyondMargin(ca.get())
        && validBeyondMargin(server.get());
}

bool create(const TlsFiles &files)
{
    const Key caKey = newKey();
    const Key serverKey = newKey();
    if (!caKey || !serverKey)
        return false;
    const Certificate ca = issue("Vaxlo demo CA", caKey.get(), nullptr, caKey.get(), caDays,
                                 {{NID_basic_constraints, "critical,CA:TRUE"},
                                  {NID_key_usage, "critical,keyCertSign,cRLSign"},
                                  {NID_subject_key_identifier, "hash"}});
    if (!ca)
        return false;
    const Certificate server = issue("127.0.0.1", serverKey.get(), ca.get(), caKey.get(), serverDays,
                                     {{NID_basic_constraints, "critical,CA:FALSE"},
                                      {NID_key_usage, "critical,digitalSignature"},
                                      {NID_ext_key_usage, "serverAuth"},
                                      {NID_subject_alt_name, "IP:127.0.0.1,DNS:localhost"},
                                      {NID_subject_key_identifier, "hash"},
                                      {NID_authority_key_identifier, "keyid:always"}});
    // The CA's key is not kept: when the server certificate needs renewing,
    // both are made anew.
    return server && writeFile(files.serverKey, keyPem(serverKey.get()), 0600)
        && writeFile(files.serverCertificate, certificatePem(server.get()), 0644)
        && writeFile(files.caCertificate, certificatePem(ca.get()), 0644);
}

} // namespace

std::optional<TlsFiles> TlsCertificates::ensure(const QString &folder, QString &error)
{
    const QDir dir(folder);
    if (!QDir().mkpath(dir.absolutePath())) {
        error = QStringLiteral("cannot create the data folder %1").arg(dir.absolutePath());
        return std::nullopt;
    }
    const TlsFiles files{dir.absoluteFilePath(QStringLiteral("ca.pem")),
                         dir.absoluteFilePath(QStringLiteral("server.pem")),
                         dir.absoluteFilePath(QStringLiteral("server-key.pem"))};
    const bool ready = usable(files) || create(files);
    // Failed reads leave entries in this thread's OpenSSL error queue, where a
    // later TLS call would find and misread them.
    ERR_clear_error();
    if (ready)
        return files;
    error = QStringLiteral("cannot write the certificates into %1").arg(dir.absolutePath());
    return std::nullopt;
}

} // namespace xr::demo
