#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace velora::cli {

// The text a program prints for --help, and from which its manual page is made, so that the
// two never differ. Its shape is fixed (the manual page generator reads it back):
//
//   Usage: NAME USAGE-LINE
//          NAME OTHER-USAGE-LINE
//
//   NAME - SUMMARY
//
//   Paragraph of description.
//
//   Section title:
//     term
//         text of the term, indented
//
// Sections are given in order; "Options" (--help and --version, which every program has) comes
// first and "Exit status" last.
class ProgramHelp {
public:
    struct Entry {
        QString term;
        QString text;
    };

    ProgramHelp(const QString& program, const QString& version, const QString& summary);

    ProgramHelp& usage(const QString& line);
    ProgramHelp& paragraph(const QString& text);
    ProgramHelp& option(const QString& term, const QString& text);
    ProgramHelp& section(const QString& title, const QList<Entry>& entries);
    ProgramHelp& exitStatus(int code, const QString& meaning);

    const QString& program() const { return program_; }
    // "NAME VERSION", what --version prints.
    QString versionLine() const;
    QString text() const;

    static inline const QString kUsagePrefix = QStringLiteral("Usage: ");

private:
    struct Section {
        QString title;
        QList<Entry> entries;
    };

    QString program_;
    QString version_;
    QString summary_;
    QStringList usages_;
    QStringList paragraphs_;
    QList<Entry> options_;
    QList<Section> sections_;
    QList<Entry> exitStatuses_;
};

} // namespace velora::cli
