#include "XRBranchDocumentParser.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <gtest/gtest.h>

namespace {

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QJsonDocument asJson(const QVariantMap &map)
{
    return QJsonDocument::fromVariant(map);
}

// Each document in data/branches beside the branch dictionary it gives, as JSON.
TEST(BranchDocumentParserTest, DocumentsGiveTheirGoldenDictionaries)
{
    const QDir folder(QStringLiteral(XR_TEST_DATA_DIR "/branches"));
    const QStringList documents = folder.entryList({QStringLiteral("*.xml")}, QDir::Files, QDir::Name);
    ASSERT_GE(documents.size(), 3);
    for (const QString &name : documents) {
        SCOPED_TRACE(name.toStdString());
        const std::optional<QVariantMap> branches = XRBranchDocumentParser::branchDictionary(readFile(folder.filePath(name)));
        ASSERT_TRUE(branches.has_value());
        const QString golden = folder.filePath(QString(name).replace(QStringLiteral(".xml"), QStringLiteral(".json")));
        QJsonParseError error;
        const QJsonDocument expected = QJsonDocument::fromJson(readFile(golden), &error);
        ASSERT_EQ(error.error, QJsonParseError::NoError) << golden.toStdString();
        EXPECT_EQ(asJson(*branches), expected) << "actual:\n" << asJson(*branches).toJson().toStdString();
    }
}

TEST(BranchDocumentParserTest, BrokenDocumentsGiveNothingWithTheReason)
{
    const QList<QByteArray> documents = {
        QByteArray(),
        "<b><locations><location><id>1</id></location></locations>",
        "<html><body><h1>Server Error</h1><br></body></html>",
        "<b><locations><location><id>1</location></locations></b>",
        "\x1f\x8b\x08\x00\x00\x00\x00\x00\x00\x03",
        // Document types are refused, so that no entity can expand.
        "<!DOCTYPE b [<!ENTITY a \"x\">]><b><locations><location><name>&a;</name></location></locations></b>",
    };
    for (const QByteArray &document : documents) {
        XRError error;
        EXPECT_FALSE(XRBranchDocumentParser::branchDictionary(document, &error).has_value())
            << document.left(40).toStdString();
        EXPECT_FALSE(error.isNull()) << document.left(40).toStdString();
    }
}

// More than libxml2 looks ahead over at once.
TEST(BranchDocumentParserTest, AHundredThousandStoresAreRead)
{
    QByteArray document = "<branches><locations>";
    document.reserve(12'000'000);
    for (int i = 0; i < 100'000; ++i) {
        const QByteArray n = QByteArray::number(i);
        document += "<location><id>SE." + n + "</id><name>Store " + n
            + "</name><latitude>59.3</latitude><longitude>18.0</longitude></location>";
    }
    document += "</locations></branches>";

    XRError error;
    const std::optional<QVariantMap> branches = XRBranchDocumentParser::branchDictionary(document, &error);
    ASSERT_TRUE(branches.has_value()) << error.description().toStdString();
    const QVariantList stores = branches->value(QStringLiteral("stores")).toList();
    ASSERT_EQ(stores.size(), 100'000);
    EXPECT_EQ(stores.last().toMap().value(QStringLiteral("id")).toString(), QStringLiteral("SE.99999"));
}

} // namespace
