#include "ProgramHelp.h"

namespace velora::cli {

namespace {

void appendEntries(QString& text, const QString& title, const QList<ProgramHelp::Entry>& entries) {
    if (entries.isEmpty())
        return;
    text += QLatin1Char('\n') + title + QStringLiteral(":\n");
    for (const ProgramHelp::Entry& entry : entries) {
        text += QStringLiteral("  ") + entry.term + QLatin1Char('\n');
        for (const QString& line : entry.text.split(QLatin1Char('\n')))
            text += QStringLiteral("      ") + line + QLatin1Char('\n');
    }
}

} // namespace

ProgramHelp::ProgramHelp(const QString& program, const QString& version, const QString& summary)
    : program_(program)
    , version_(version)
    , summary_(summary) {
    option(QStringLiteral("-h, --help"), QStringLiteral("Prints this text and exits."));
    option(QStringLiteral("-v, --version"),
           QStringLiteral("Prints the program's name and version and exits."));
}

ProgramHelp& ProgramHelp::usage(const QString& line) {
    usages_.append(line);
    return *this;
}

ProgramHelp& ProgramHelp::paragraph(const QString& text) {
    paragraphs_.append(text);
    return *this;
}

ProgramHelp& ProgramHelp::option(const QString& term, const QString& text) {
    options_.append({term, text});
    return *this;
}

ProgramHelp& ProgramHelp::section(const QString& title, const QList<Entry>& entries) {
    sections_.append({title, entries});
    return *this;
}

ProgramHelp& ProgramHelp::exitStatus(int code, const QString& meaning) {
    exitStatuses_.append({QString::number(code), meaning});
    return *this;
}

QString ProgramHelp::versionLine() const {
    return program_ + QLatin1Char(' ') + version_;
}

QString ProgramHelp::text() const {
    QString text;
    const QString indent(kUsagePrefix.size(), QLatin1Char(' '));
    for (qsizetype i = 0; i < usages_.size(); ++i)
        text += (i == 0 ? kUsagePrefix : indent) + program_ + QLatin1Char(' ') + usages_[i] +
                QLatin1Char('\n');
    text += QLatin1Char('\n') + program_ + QStringLiteral(" - ") + summary_ + QLatin1Char('\n');
    for (const QString& paragraph : paragraphs_)
        text += QLatin1Char('\n') + paragraph + QLatin1Char('\n');
    appendEntries(text, QStringLiteral("Options"), options_);
    for (const Section& section : sections_)
        appendEntries(text, section.title, section.entries);
    appendEntries(text, QStringLiteral("Exit status"), exitStatuses_);
    return text;
}

} // namespace velora::cli
