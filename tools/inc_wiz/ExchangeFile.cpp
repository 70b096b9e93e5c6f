#include "ExchangeFile.h"

#include "suite/vEzoziVi.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace velora::wizard {

QString ExchangeFile::suiteTempFolder(const QString& configurationPath) {
    return suite::vEzoziVi::TempFolder(configurationPath);
}

QByteArray ExchangeFile::crlfText(const QString& text) {
    QString lines = text;
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    lines.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    while (lines.endsWith(QLatin1Char('\n')))
        lines.chop(1);
    lines.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return lines.toUtf8();
}

QByteArray ExchangeFile::compose(const QString& name, const QString& scheme, const QString& text) {
    const QByteArray crlf = QByteArrayLiteral("\r\n");
    return kHeader.toUtf8() + crlf + name.toUtf8() + crlf + scheme.toUtf8() + crlf +
           crlfText(text) + kEndMark + crlf;
}

QString ExchangeFile::problem(const QString& name, const QString& scheme, const QString& text) {
    if (name.contains(QLatin1Char('\r')) || name.contains(QLatin1Char('\n')))
        return QStringLiteral("The name must fit on one line.");
    const QByteArray body = QByteArrayLiteral("\r\n") + crlfText(text);
    if (body.contains(kEndMark))
        return QStringLiteral("A line of the formula begins with \" *****\", which would end the "
                              "formula early when the main window reads it. Change that line.");
    const qsizetype size = compose(name, scheme, text).size();
    if (size > kMaxBytes)
        return QStringLiteral("The formula is too long to hand over: %1 bytes, at most %2.")
            .arg(size)
            .arg(kMaxBytes);
    return {};
}

QString ExchangeFile::write(const QString& folder, const QString& name, const QString& scheme,
                            const QString& text) {
    const QString why = problem(name, scheme, text);
    if (!why.isEmpty())
        return why;
    if (!QDir().mkpath(folder))
        return QStringLiteral("The folder %1 could not be made.")
            .arg(QDir::toNativeSeparators(folder));
    QSaveFile file(QDir(folder).filePath(kFileName));
    if (!file.open(QIODevice::WriteOnly) || file.write(compose(name, scheme, text)) < 0 ||
        !file.commit())
        return QStringLiteral("The file %1 could not be written: %2")
            .arg(QDir::toNativeSeparators(file.fileName()), file.errorString());
    return {};
}

} // namespace velora::wizard
