#include "TestPaths.h"
#include "common/TestMain.h"

#include <QFile>
#include <QMap>
#include <QSet>
#include <QTest>

namespace {

QString readSchema(const char* name) {
    QFile file(QStringLiteral(VELORA_SOURCE_DIR "/platform/db/schema/") + QLatin1String(name));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

// Table name (lower case, without "dbo.") -> its column names (lower case), read from the
// CREATE TABLE statements of a schema script.
QMap<QString, QSet<QString>> tablesOf(const QString& script) {
    QMap<QString, QSet<QString>> tables;
    const QStringList lines = script.split(QLatin1Char('\n'));
    QString current;
    for (const QString& raw : lines) {
        const QString line = raw.trimmed();
        if (line.startsWith(QLatin1String("CREATE TABLE"), Qt::CaseInsensitive)) {
            current = line.section(QLatin1Char(' '), 2, 2).toLower();
            current.remove(QStringLiteral("dbo."));
            tables[current];
            continue;
        }
        if (current.isEmpty())
            continue;
        if (line.startsWith(QLatin1Char(')'))) {
            current.clear();
            continue;
        }
        if (line.startsWith(QLatin1String("--")) ||
            line.startsWith(QLatin1String("PRIMARY KEY"), Qt::CaseInsensitive) ||
            line.startsWith(QLatin1String("CONSTRAINT"), Qt::CaseInsensitive))
            continue;
        // One or more "name type ..." items per line, separated by commas.
        for (const QString& item : line.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            const QString name = item.trimmed().section(QLatin1Char(' '), 0, 0).toLower();
            if (!name.isEmpty() && name.at(0).isLetter())
                tables[current].insert(name);
        }
    }
    return tables;
}

} // namespace

// The two schema scripts must describe the same tables and columns, and the SQL Server one
// must define the five procedures the embedded engine implements.
class TestSchemaParity : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void sameTablesAndColumns() {
        const auto sqlite = tablesOf(readSchema("sqlite.sql"));
        const auto sqlServer = tablesOf(readSchema("sqlserver.sql"));
        QVERIFY(sqlite.size() >= 13);
        QCOMPARE(QSet<QString>(sqlServer.keyBegin(), sqlServer.keyEnd()),
                 QSet<QString>(sqlite.keyBegin(), sqlite.keyEnd()));
        for (auto it = sqlite.cbegin(); it != sqlite.cend(); ++it)
            QVERIFY2(sqlServer.value(it.key()) == it.value(), qPrintable(it.key()));
        QVERIFY(sqlite.value(QStringLiteral("trans_incentive"))
                    .contains(QStringLiteral("incent_pay_modified")));
    }

    void sqlServerDefinesTheProcedures() {
        const QString script = readSchema("sqlserver.sql");
        for (const char* procedure : {"partition_select_children", "usp_incentive_get_preference",
                                      "usp_incentive_add_preference", "usp_incentive_add_formula",
                                      "usp_incentive_add_group"})
            QVERIFY2(
                script.contains(QStringLiteral("CREATE PROCEDURE dbo.") + QLatin1String(procedure)),
                procedure);
    }
};

VELORA_TEST(TestSchemaParity)
#include "TestSchemaParity.moc"
