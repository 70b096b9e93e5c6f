#include "HelpWindow.h"

#include "HelpLocator.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QStyle>
#include <QTextBrowser>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

namespace velora::shell {

namespace {

const QString kDefaultTitle = QStringLiteral("Velora Incentive Help");

QToolButton* navigationButton(QWidget* parent, const QString& name, const QString& text,
                              QStyle::StandardPixmap icon) {
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setText(text);
    button->setIcon(parent->style()->standardIcon(icon));
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setAutoRaise(true);
    return button;
}

} // namespace

HelpWindow::HelpWindow(const QString& indexPath, QWidget* owner, const QStringList& searchedFolders)
    : QWidget(owner, Qt::Window)
    , browser_(new QTextBrowser(this))
    , back_(
          navigationButton(this, QStringLiteral("cmdHelpBack"), tr("&Back"), QStyle::SP_ArrowBack))
    , forward_(navigationButton(this, QStringLiteral("cmdHelpForward"), tr("&Forward"),
                                QStyle::SP_ArrowForward))
    , home_(navigationButton(this, QStringLiteral("cmdHelpHome"), tr("&Home"),
                             QStyle::SP_DirHomeIcon)) {
    setObjectName(QStringLiteral("frmHelp"));
    buildForm();

    hasHelp_ = !indexPath.isEmpty() && QFileInfo(indexPath).isFile();
    if (hasHelp_) {
        index_ = QUrl::fromLocalFile(QFileInfo(indexPath).absoluteFilePath());
        browser_->setSource(index_);
    } else
        showMissingNotice(indexPath, searchedFolders);
    home_->setEnabled(hasHelp_);
    updateTitle();
}

HelpWindow* HelpWindow::forProgram(QWidget* owner) {
    const QString programDir = QCoreApplication::applicationDirPath();
    return new HelpWindow(HelpLocator::find(programDir), owner,
                          HelpLocator::folders(programDir, HelpLocator::builtInDir()));
}

void HelpWindow::buildForm() {
    browser_->setObjectName(QStringLiteral("brwHelp"));
    // Pages of the help open here; other addresses go to the desktop's browser or mailer.
    browser_->setOpenLinks(true);
    browser_->setOpenExternalLinks(true);
    back_->setEnabled(false);
    forward_->setEnabled(false);

    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(6, 4, 6, 0);
    buttons->setSpacing(2);
    buttons->addWidget(back_);
    buttons->addWidget(forward_);
    buttons->addWidget(home_);
    buttons->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    layout->addLayout(buttons);
    layout->addWidget(browser_);
    resize(780, 620);

    connect(back_, &QToolButton::clicked, browser_, &QTextBrowser::backward);
    connect(forward_, &QToolButton::clicked, browser_, &QTextBrowser::forward);
    connect(home_, &QToolButton::clicked, browser_, &QTextBrowser::home);
    connect(browser_, &QTextBrowser::backwardAvailable, back_, &QToolButton::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward_, &QToolButton::setEnabled);
    connect(browser_, &QTextBrowser::sourceChanged, this, &HelpWindow::updateTitle);
}

void HelpWindow::showMissingNotice(const QString& indexPath, const QStringList& searchedFolders) {
    QString html = QStringLiteral("<h2>The help could not be found</h2>");
    if (!indexPath.isEmpty())
        html += QStringLiteral("<p>The help file %1 does not exist.</p>")
                    .arg(indexPath.toHtmlEscaped());
    if (!searchedFolders.isEmpty()) {
        html += QStringLiteral("<p>The help (%1) was looked for in these folders:</p><ul>")
                    .arg(HelpLocator::kIndexFile);
        for (const QString& folder : searchedFolders)
            html += QStringLiteral("<li>%1</li>").arg(folder.toHtmlEscaped());
        html += QStringLiteral("</ul>");
    }
    html += QStringLiteral("<p>Reinstall the program or ask your administrator to install "
                           "its help.</p>");
    browser_->setHtml(html);
}

void HelpWindow::updateTitle() {
    const QString title = browser_->documentTitle().trimmed();
    setWindowTitle(title.isEmpty() ? kDefaultTitle : title);
}

void HelpWindow::showDefaultTopic() {
    showTopic(QString());
}

void HelpWindow::showTopic(const QString& page) {
    if (hasHelp_) {
        const QUrl topic = page.isEmpty() ? index_ : index_.resolved(QUrl(page));
        // A page missing from an older installed help falls back to the index.
        if (page.isEmpty() || !QFileInfo::exists(topic.toLocalFile()))
            browser_->home();
        else if (browser_->source() != topic)
            browser_->setSource(topic);
    }
    showNormal();
    raise();
    activateWindow();
}

} // namespace velora::shell
