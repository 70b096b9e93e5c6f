#pragma once

#include <QStringList>
#include <QUrl>
#include <QWidget>

class QTextBrowser;
class QToolButton;

namespace velora::shell {

// The program's help: a window of its own, owned by the main window, that shows the HTML help
// from its default topic on. Links between help pages are followed inside the window; links
// to anything else (web pages, mail) go to the desktop's own programs. Back, Forward and Home
// move through the pages visited.
//
// Controls: brwHelp, cmdHelpBack, cmdHelpForward, cmdHelpHome.
class HelpWindow : public QWidget {
    Q_OBJECT

public:
    // indexPath: the help's default topic. When it is empty or not a file, the window says that
    // the help could not be found and lists searchedFolders.
    HelpWindow(const QString& indexPath, QWidget* owner, const QStringList& searchedFolders = {});

    // The help of this program, found by HelpLocator from the executable's folder.
    static HelpWindow* forProgram(QWidget* owner);

    bool hasHelp() const { return hasHelp_; }
    QTextBrowser* browser() const { return browser_; }

    // Goes back to the default topic and shows the window normally, in front.
    void showDefaultTopic();
    // Shows the help page `page` (a file name beside the index; the index for ""), in front.
    void showTopic(const QString& page);

private:
    void buildForm();
    void showMissingNotice(const QString& indexPath, const QStringList& searchedFolders);
    void updateTitle();

    QTextBrowser* browser_;
    QToolButton* back_;
    QToolButton* forward_;
    QToolButton* home_;
    bool hasHelp_ = false;
    QUrl index_;
};

} // namespace velora::shell
