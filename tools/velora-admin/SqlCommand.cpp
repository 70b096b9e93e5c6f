#include "SqlCommand.h"

#include "AdminError.h"

#include "db/Connection.h"
#include "db/ConnectionString.h"
#include "db/SqliteEngine.h"
#include "suite/HXRegion.h"
#include "suite/SuiteError.h"

#include <QFileInfo>
#include <sqlite3.h>

namespace velora::admin {

QString SqlCommand::usage() const {
    return QStringLiteral("sql FILE STATEMENT");
}

QString SqlCommand::connectionStringFor(const QString& absolutePath) {
    return QStringLiteral("Provider=SQLOLEDB.1;Persist Security Info=True;User ID=sa;"
                          "Initial Catalog=") +
           db::ConnectionString::quoted(absolutePath) +
           QStringLiteral(";Data Source=(embedded);PWD=;APP=velora-admin.EXE");
}

QString SqlCommand::formatValue(const QVariant& value) {
    if (value.isNull())
        return QStringLiteral("NULL");
    QString text = value.toString();
    text.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    text.replace(QLatin1Char('\t'), QLatin1String("\\t"));
    text.replace(QLatin1Char('\r'), QLatin1String("\\r"));
    text.replace(QLatin1Char('\n'), QLatin1String("\\n"));
    return text;
}

void SqlCommand::printRows(db::Recordset& rows, QTextStream& out) {
    out << rows.columnNames().join(QLatin1Char('\t')) << '\n';
    for (; !rows.eof(); rows.moveNext()) {
        for (int i = 0; i < rows.fieldCount(); ++i) {
            if (i > 0)
                out << '\t';
            out << formatValue(rows.value(i));
        }
        out << '\n';
    }
}

QString SqlCommand::regionalDateFormat() {
    try {
        return suite::HXRegion().DateFormat();
    } catch (const suite::SuiteError& e) {
        throw AdminError(e.number(), e.description());
    }
}

int SqlCommand::run(const QStringList& arguments, QTextStream& out) {
    if (arguments.size() != 2 || arguments.at(0).isEmpty())
        throw UsageError(QStringLiteral("expects a database file and one statement"));
    const QString path = QFileInfo(arguments.at(0)).absoluteFilePath();

    db::ConnectionOptions options;
    options.baseDirectory = QFileInfo(path).absolutePath();
    options.regionalDateFormat = regionalDateFormat();
    db::Connection connection(options);
    connection.open(connectionStringFor(path));

    // The number of rows a statement without result columns changed (an UPDATE, or a
    // procedure that writes) is SQLite's change counter before and after it.
    auto* engine = dynamic_cast<db::SqliteEngine*>(connection.engine());
    const auto changesBefore = engine ? sqlite3_total_changes64(engine->handle()) : 0;
    db::Recordset rows = connection.openRecordset(arguments.at(1));
    if (rows.fieldCount() > 0) {
        printRows(rows, out);
    } else {
        const auto changes = engine ? sqlite3_total_changes64(engine->handle()) - changesBefore : 0;
        out << changes << " row(s) affected\n";
    }
    return 0;
}

} // namespace velora::admin
