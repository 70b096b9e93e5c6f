#include "ManPage.h"

#include "ProgramHelp.h"

#include <QStringList>

namespace velora::cli {

namespace {

constexpr int kTermIndent = 2;
constexpr int kTextIndent = 6;

int indentOf(const QString& line) {
    int n = 0;
    while (n < line.size() && line[n] == QLatin1Char(' '))
        ++n;
    return n;
}

bool isSectionTitle(const QString& line) {
    return !line.isEmpty() && indentOf(line) == 0 && line.endsWith(QLatin1Char(':'));
}

QString quoted(const QString& text) {
    return QLatin1Char('"') + ManPage::escaped(text) + QLatin1Char('"');
}

// Writes the page while it walks the help text line by line.
class Writer {
public:
    explicit Writer(const QStringList& lines)
        : lines_(lines) {}

    QString write(const ManPage::Title& title) {
        page_ += QStringLiteral(".TH %1 1 %2 %3 \"Velora Incentive\"\n")
                     .arg(quoted(title.name.toUpper()), quoted(title.date),
                          quoted(QStringLiteral("Velora Incentive ") + title.version));
        synopsis();
        nameAndDescription();
        while (at_ < lines_.size())
            section();
        return page_;
    }

private:
    void synopsis() {
        QStringList usage;
        for (; at_ < lines_.size() && !lines_[at_].isEmpty(); ++at_) {
            QString line = lines_[at_];
            if (line.startsWith(ProgramHelp::kUsagePrefix))
                line = line.mid(ProgramHelp::kUsagePrefix.size());
            usage.append(line.trimmed());
        }
        skipBlank();
        // The "NAME - summary" line comes first in a manual page.
        if (at_ < lines_.size()) {
            const QString nameLine = lines_[at_++];
            page_ += QStringLiteral(".SH NAME\n") + escaped(nameLine) + QLatin1Char('\n');
        }
        page_ += QStringLiteral(".SH SYNOPSIS\n.nf\n");
        for (const QString& line : usage)
            page_ += escaped(line) + QLatin1Char('\n');
        page_ += QStringLiteral(".fi\n");
    }

    void nameAndDescription() {
        skipBlank();
        if (at_ >= lines_.size() || isSectionTitle(lines_[at_]))
            return;
        page_ += QStringLiteral(".SH DESCRIPTION\n");
        bool first = true;
        while (at_ < lines_.size() && !isSectionTitle(lines_[at_])) {
            if (!first)
                page_ += QStringLiteral(".PP\n");
            first = false;
            for (; at_ < lines_.size() && !lines_[at_].isEmpty(); ++at_)
                page_ += escaped(lines_[at_].trimmed()) + QLatin1Char('\n');
            skipBlank();
        }
    }

    void section() {
        const QString title = lines_[at_++].chopped(1).toUpper();
        page_ += QStringLiteral(".SH ") + quoted(title) + QLatin1Char('\n');
        while (at_ < lines_.size() && !lines_[at_].isEmpty()) {
            page_ +=
                QStringLiteral(".TP\n.B ") + quoted(lines_[at_++].trimmed()) + QLatin1Char('\n');
            termText();
        }
        skipBlank();
    }

    // The lines of one term: filled, except lines indented further, kept as they stand.
    void termText() {
        bool verbatim = false;
        for (; at_ < lines_.size() && indentOf(lines_[at_]) > kTermIndent; ++at_) {
            const QString& line = lines_[at_];
            const bool deeper = indentOf(line) > kTextIndent;
            if (deeper != verbatim)
                page_ += deeper ? QStringLiteral(".nf\n") : QStringLiteral(".fi\n");
            verbatim = deeper;
            page_ += escaped(deeper ? line.mid(kTextIndent) : line.trimmed()) + QLatin1Char('\n');
        }
        if (verbatim)
            page_ += QStringLiteral(".fi\n");
    }

    void skipBlank() {
        while (at_ < lines_.size() && lines_[at_].trimmed().isEmpty())
            ++at_;
    }

    static QString escaped(const QString& line) { return ManPage::escaped(line); }

    const QStringList& lines_;
    qsizetype at_ = 0;
    QString page_;
};

} // namespace

QString ManPage::escaped(const QString& line) {
    QString text = line;
    text.replace(QLatin1Char('\\'), QLatin1String("\\e"));
    text.replace(QLatin1Char('-'), QLatin1String("\\-"));
    text.replace(QLatin1Char('"'), QLatin1String("\\(dq"));
    // A line that starts with a dot or an apostrophe would be read as a request.
    if (text.startsWith(QLatin1Char('.')) || text.startsWith(QLatin1Char('\'')))
        text.prepend(QLatin1String("\\&"));
    return text;
}

QString ManPage::fromHelp(const QString& helpText, const Title& title) {
    QStringList lines = helpText.split(QLatin1Char('\n'));
    for (QString& line : lines) {
        while (line.endsWith(QLatin1Char(' ')))
            line.chop(1);
    }
    return Writer(lines).write(title);
}

} // namespace velora::cli
