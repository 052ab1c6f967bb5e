#include "TlsCertificates.h"

#include <QFile>
#include <QTemporaryDir>

#include <openssl/pem.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <memory>

#include <gtest/gtest.h>

using namespace xr::demo;

namespace {

using Certificate = std::unique_ptr<X509, decltype(&X509_free)>;

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

Certificate load(const QString &path)
{
    const QByteArray pem = contents(path);
    BIO *bio = BIO_new_mem_buf(pem.constData(), int(pem.size()));
    Certificate certificate(PEM_read_bio_X509(bio, nullptr, nullptr, nullptr), X509_free);
    BIO_free(bio);
    return certificate;
}

// Verifies the server certificate against the CA alone, for a TLS server at
// the given address or host name, the way a client does.
bool verifies(const TlsFiles &files, const char *ip, const char *host)
{
    const Certificate ca = load(files.caCertificate);
    const Certificate server = load(files.serverCertificate);
    if (!ca || !server)
        return false;
    X509_STORE *store = X509_STORE_new();
    X509_STORE_add_cert(store, ca.get());
    X509_STORE_CTX *context = X509_STORE_CTX_new();
    X509_STORE_CTX_init(context, store, server.get(), nullptr);
    X509_STORE_CTX_set_purpose(context, X509_PURPOSE_SSL_SERVER);
    X509_VERIFY_PARAM *param = X509_STORE_CTX_get0_param(context);
    if (ip)
        X509_VERIFY_PARAM_set1_ip_asc(param, ip);
    if (host)
        X509_VERIFY_PARAM_set1_host(param, host, 0);
    const bool verified = X509_verify_cert(context) == 1;
    X509_STORE_CTX_free(context);
    X509_STORE_free(store);
    return verified;
}

} // namespace

TEST(TlsCertificates, MakesACaAndAServerCertificateForLoopback)
{
    QTemporaryDir dir;
    QString error;
    const std::optional<TlsFiles> files = TlsCertificates::ensure(dir.filePath(QStringLiteral("data")), error);
    ASSERT_TRUE(files) << error.toStdString();

    const Certificate ca = load(files->caCertificate);
    ASSERT_TRUE(ca);
    EXPECT_EQ(X509_check_ca(ca.get()), 1);
    EXPECT_TRUE(verifies(*files, "127.0.0.1", nullptr));
    EXPECT_TRUE(verifies(*files, nullptr, "localhost"));
    EXPECT_FALSE(verifies(*files, "127.0.0.2", nullptr)) << "the certificate names loopback only";
    EXPECT_FALSE(verifies(*files, nullptr, "example.org"));
    EXPECT_EQ(QFile::permissions(files->serverKey) & (QFile::ReadGroup | QFile::ReadOther), QFile::Permissions())
        << "the key is for the owner only";
}

TEST(TlsCertificates, KeepsWorkingCertificatesAcrossStarts)
{
    QTemporaryDir dir;
    QString error;
    const std::optional<TlsFiles> first = TlsCertificates::ensure(dir.path(), error);
    ASSERT_TRUE(first);
    const QByteArray ca = contents(first->caCertificate);
    const QByteArray key = contents(first->serverKey);
    const std::optional<TlsFiles> second = TlsCertificates::ensure(dir.path(), error);
    ASSERT_TRUE(second);
    EXPECT_EQ(contents(second->caCertificate), ca);
    EXPECT_EQ(contents(second->serverKey), key);
}

TEST(TlsCertificates, MakesNewOnesWhenTheStoredOnesAreBrokenOrDoNotBelongTogether)
{
    QTemporaryDir dir;
    QTemporaryDir other;
    QString error;
    const std::optional<TlsFiles> files = TlsCertificates::ensure(dir.path(), error);
    const std::optional<TlsFiles> otherFiles = TlsCertificates::ensure(other.path(), error);
    ASSERT_TRUE(files && otherFiles);

    const QByteArray firstCa = contents(files->caCertificate);
    QFile broken(files->serverCertificate);
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly | QIODevice::Truncate));
    broken.write("-----BEGIN CERTIFICATE-----\nnot a certificate\n-----END CERTIFICATE-----\n");
    broken.close();
    ASSERT_TRUE(TlsCertificates::ensure(dir.path(), error));
    EXPECT_NE(contents(files->caCertificate), firstCa);
    EXPECT_TRUE(verifies(*files, "127.0.0.1", nullptr));

    const QByteArray secondCa = contents(files->caCertificate);
    ASSERT_TRUE(QFile::remove(files->serverKey));
    ASSERT_TRUE(QFile::copy(otherFiles->serverKey, files->serverKey));
    ASSERT_TRUE(TlsCertificates::ensure(dir.path(), error));
    EXPECT_NE(contents(files->caCertificate), secondCa) << "a key of another certificate is not used";
    EXPECT_TRUE(verifies(*files, "127.0.0.1", nullptr));
}

TEST(TlsCertificates, ReportsAFolderItCannotUse)
{
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("plain-file")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    QString error;
    EXPECT_FALSE(TlsCertificates::ensure(file.fileName() + QStringLiteral("/data"), error));
    EXPECT_TRUE(error.contains(QStringLiteral("plain-file"))) << error.toStdString();
}
