#pragma once

#include <QString>

namespace velora::cli {

// Turns a program's --help text (the shape ProgramHelp writes) into a manual page in troff
// (man macros), so that the page says what --help says. The usage lines become the synopsis,
// the "NAME - summary" line the name, the paragraphs the description, and every section a
// section of the page with its terms as tagged paragraphs. Text lines are filled; a line of a
// term's text indented further than the rest is kept as it stands (tables, examples).
class ManPage {
public:
    struct Title {
        QString name;    // the program
        QString version; // its version
        QString date;    // YYYY-MM-DD
    };

    static QString fromHelp(const QString& helpText, const Title& title);

    // A line of text with troff's special characters made plain.
    static QString escaped(const QString& line);
};

} // namespace velora::cli
