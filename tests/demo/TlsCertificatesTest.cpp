// Clients trusting the authority reach the service (the HTTPS suites run
// against these certificates); here, what the files hold and how they are kept.

#include "TlsCertificates.h"

#include <QFile>
#include <QSslCertificate>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace xr::demo;

namespace {

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

TEST(TlsCertificates, NameLoopbackOnlyAreKeptAcrossStartsAndMadeAnewWhenTheyDoNotMatch)
{
    QTemporaryDir dir;
    QTemporaryDir other;
    QString error;
    const std::optional<TlsFiles> files = TlsCertificates::ensure(dir.filePath(QStringLiteral("data")), error);
    const std::optional<TlsFiles> otherFiles = TlsCertificates::ensure(other.path(), error);
    ASSERT_TRUE(files && otherFiles) << error.toStdString();
    const QList<QSslCertificate> server = QSslCertificate::fromPath(files->serverCertificate);
    ASSERT_EQ(server.size(), 1);
    const QMultiMap<QSsl::AlternativeNameEntryType, QString> names = server[0].subjectAlternativeNames();
    EXPECT_EQ(names.values(QSsl::IpAddressEntry), QStringList{QStringLiteral("127.0.0.1")});
    EXPECT_EQ(names.values(QSsl::DnsEntry), QStringList{QStringLiteral("localhost")});
    EXPECT_EQ(QFile::permissions(files->serverKey) & (QFile::ReadGroup | QFile::ReadOther), QFile::Permissions());

    const QByteArray firstCa = contents(files->caCertificate);
    const QByteArray firstKey = contents(files->serverKey);
    ASSERT_TRUE(TlsCertificates::ensure(dir.filePath(QStringLiteral("data")), error));
    EXPECT_EQ(contents(files->caCertificate), firstCa);
    EXPECT_EQ(contents(files->serverKey), firstKey);

    ASSERT_TRUE(QFile::remove(files->serverKey));
    ASSERT_TRUE(QFile::copy(otherFiles->serverKey, files->serverKey));
    ASSERT_TRUE(TlsCertificates::ensure(dir.filePath(QStringLiteral("data")), error));
    EXPECT_NE(contents(files->caCertificate), firstCa) << "a key of another certificate is not used";
    EXPECT_EQ(QSslCertificate::fromPath(files->serverCertificate).size(), 1);
}
