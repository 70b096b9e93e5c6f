#include "DetailArea.h"

#include "widgets/Twips.h"

#include <QFormLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QVBoxLayout>
#include <algorithm>

namespace velora::common {

namespace {

// The editor panes are designed at this width (twips): beside an explorer at the default
// splitter position they fit the default window of 11325 twips. Narrower, they would cut
// their controls.
constexpr int kPaneWidthTwips = 8400;

constexpr DetailArea::Pane kEditorPanes[] = {DetailArea::Pane::Account, DetailArea::Pane::Formula,
                                             DetailArea::Pane::UserDetail,
                                             DetailArea::Pane::UserHeader};

// The splash picture: the program's name on a quiet gradient.
class SplashPicture : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        QLinearGradient gradient(rect().topLeft(), rect().bottomRight());
        gradient.setColorAt(0, QColor(0x1f, 0x4e, 0x79));
        gradient.setColorAt(1, QColor(0x2e, 0x86, 0xab));
        p.fillRect(rect(), gradient);
        const QRectF emblem(width() / 2.0 - 48, height() / 2.0 - 140, 96, 96);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 255, 255, 40));
        p.drawRoundedRect(emblem, 18, 18);
        QPen pen(Qt::white, 9, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        p.setPen(pen);
        const QPointF v[] = {{emblem.left() + 24, emblem.top() + 26},
                             {emblem.center().x(), emblem.bottom() - 22},
                             {emblem.right() - 24, emblem.top() + 26}};
        p.drawPolyline(v, 3);
    }
};

} // namespace

DetailArea::DetailArea(QWidget* parent)
    : QFrame(parent) {
    setObjectName(QStringLiteral("picDetails"));
    setFrameShape(QFrame::NoFrame);
    buildSplash();

    auto* listPane = new QWidget(this);
    listPane->setObjectName(QStringLiteral("picListView"));
    listView_ = new QListWidget(listPane);
    listView_->setObjectName(QStringLiteral("lvwLists"));
    listView_->setViewMode(QListView::ListMode);
    panes_[static_cast<int>(Pane::ListView)] = listPane;

    panes_[static_cast<int>(Pane::UserHeader)] =
        makeEditorPane("picUserHeader", tr("Velora Incentive - User"));
    panes_[static_cast<int>(Pane::UserDetail)] =
        makeEditorPane("picUserDetail", tr("Velora Incentive - User Account"));

    panes_[static_cast<int>(Pane::Account)] =
        makeEditorPane("picAccount", tr("Velora Incentive - Group Account"));
    panes_[static_cast<int>(Pane::Formula)] =
        makeEditorPane("picFormula", tr("Velora Incentive - Formula"));
    showSplash();
}

void DetailArea::buildSplash() {
    auto* splash = new SplashPicture(this);
    splash->setObjectName(QStringLiteral("picSplash"));
    auto* layout = new QVBoxLayout(splash);
    layout->addStretch(3);
    auto* title = new QLabel(QStringLiteral("Velora Incentive"), splash);
    title->setObjectName(QStringLiteral("lblSplashTitle"));
    title->setAlignment(Qt::AlignCenter);
    title->setStyleSheet(QStringLiteral("color: white; font-size: 30px; font-weight: 600;"));
    auto* subtitle = new QLabel(tr("Incentive pay for the transcription department"), splash);
    subtitle->setAlignment(Qt::AlignCenter);
    subtitle->setStyleSheet(QStringLiteral("color: rgba(255,255,255,200); font-size: 14px;"));
    layout->addWidget(title);
    layout->addWidget(subtitle);
    layout->addStretch(2);
    panes_[static_cast<int>(Pane::Splash)] = splash;
}

QWidget* DetailArea::makeEditorPane(const char* name, const QString& title) {
    auto* pane = new QFrame(this);
    pane->setObjectName(QLatin1String(name));
    pane->setFrameShape(QFrame::StyledPanel);
    auto* layout = new QVBoxLayout(pane);
    auto* heading = new QLabel(title, pane);
    heading->setStyleSheet(QStringLiteral("font-size: 15px; font-weight: 600; color: #1f4e79;"));
    layout->addWidget(heading);
    layout->addStretch();
    return pane;
}

void DetailArea::setPaneContent(Pane which, QWidget* content) {
    QWidget* frame = pane(which);
    QLayout* layout = frame->layout();
    while (QLayoutItem* item = layout->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    layout->setContentsMargins(0, 0, 0, 0);
    content->setParent(frame);
    layout->addWidget(content);
    layOut();
}

int DetailArea::minimumPaneWidth() const {
    int widest = widgets::Twips::toPixels(kPaneWidthTwips);
    for (Pane editor : kEditorPanes)
        widest = std::max(widest, pane(editor)->minimumSizeHint().width());
    return widest;
}

QWidget* DetailArea::pane(Pane which) const {
    return panes_[static_cast<int>(which)];
}

void DetailArea::showPane(Pane which) {
    for (int i = 0; i < 6; ++i)
        panes_[i]->setVisible(i == static_cast<int>(which));
    pane(which)->raise();
    shown_ = which;
    Q_EMIT paneShown(which);
}

void DetailArea::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    layOut();
}

void DetailArea::layOut() {
    for (QWidget* each : panes_)
        each->setGeometry(rect());
    listView_->setGeometry(rect());
}

} // namespace velora::common
