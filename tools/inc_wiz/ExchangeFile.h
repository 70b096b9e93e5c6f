#pragma once

#include <QByteArray>
#include <QString>

namespace velora::wizard {

// The file through which the wizard hands a formula to the main window: FORMULA.TXT in the
// suite's temporary folder. Lines end with CR LF: line 1 a header, line 2 the formula's name,
// line 3 the scheme it was made from, then the formula text, CR LF, " *****" and CR LF. The
// main window reads the file's length as a 16-bit number, so the file stays below 32 KB.
class ExchangeFile {
public:
    static constexpr qsizetype kMaxBytes = 32767;
    static inline const QString kFileName = QStringLiteral("FORMULA.TXT");
    static inline const QString kHeader = QStringLiteral("VELORA INCENTIVE FORMULA WIZARD");
    static inline const QByteArray kEndMark = QByteArrayLiteral("\r\n *****");

    // The suite's temporary folder for a configuration file: the TEMP folder beside the SYSTEM
    // folder that holds it, otherwise a "velora" folder in the system's temporary folder.
    static QString suiteTempFolder(const QString& configurationPath);

    // The bytes of the file (UTF-8). Line ends of the text become CR LF and trailing blank
    // lines are dropped, so the text ends right before the closing mark.
    static QByteArray compose(const QString& name, const QString& scheme, const QString& text);

    // Why a formula cannot travel through the file ("" when it can): a name over one line, a
    // line of the text that would read as the closing mark, or a file of 32 KB or more.
    static QString problem(const QString& name, const QString& scheme, const QString& text);

    // Writes the file into folder (made when missing) in one step, so that no half-written
    // file is ever there. Returns "" or the reason it could not be written.
    static QString write(const QString& folder, const QString& name, const QString& scheme,
                         const QString& text);

private:
    static QByteArray crlfText(const QString& text);
};

} // namespace velora::wizard
