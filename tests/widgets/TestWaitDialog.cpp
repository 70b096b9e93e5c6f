#include "common/TestMain.h"
#include "widgets/AnimationClip.h"
#include "widgets/AnimationControl.h"
#include "widgets/ClipPainter.h"
#include "widgets/WidgetError.h"
#include "widgets/frmWait.h"

#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>

using namespace velora::widgets;

namespace {

QImage frameImage(int clip, int frame) {
    QImage image(240, 64, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    ClipPainter::paint(painter, QRectF(image.rect()), clip, frame);
    return image;
}

} // namespace

class TestWaitDialog : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void loadsWithItsDesignTextsAndControls() {
        frmWait wait;
        QCOMPARE(wait.windowTitle(), QStringLiteral("Velora Incentive"));
        QVERIFY(!wait.isModal());
        auto* message = wait.findChild<QLabel*>(QStringLiteral("lblMessage"));
        auto* details = wait.findChild<QLabel*>(QStringLiteral("lblDetails"));
        QVERIFY(message && details);
        QCOMPARE(message->text(),
                 QStringLiteral("Please wait while the Incentive data is loaded..."));
        QCOMPARE(details->text(), QString());
        QVERIFY(wait.findChild<QFrame*>(QStringLiteral("Frame1")));
        QVERIFY(wait.findChild<AnimationControl*>(QStringLiteral("ccrpAnimation1")));
        QCOMPARE(wait.font().family(), QStringLiteral("Arial"));
        QVERIFY(!wait.CancelWait());
    }

    void closingUnloadsOnceAndSetsCancelWait() {
        frmWait wait;
        QSignalSpy unloaded(&wait, &frmWait::Unloaded);
        wait.setAniType(201);
        wait.show();
        QVERIFY(!wait.CancelWait());
        QVERIFY(wait.close());
        QVERIFY(wait.CancelWait());
        QVERIFY(!wait.isVisible());
        QVERIFY(!wait.ccrpAnimation1()->isPlaying());
        wait.close();
        QCOMPARE(unloaded.count(), 1);

        // Shown again, it is loaded afresh and plays its clip again.
        wait.show();
        QVERIFY(!wait.CancelWait());
        QVERIFY(wait.ccrpAnimation1()->isPlaying());
    }

    void longTextsWrapAndTheDialogGrowsToShowThem() {
        frmWait wait;
        wait.setDetailsText(QStringLiteral("Partition 3"));
        wait.show();
        const int shortHeight = wait.height();
        const QString longText =
            QStringLiteral("Please wait while the incentive values are recalculated for every "
                           "user of the selected partition and every account of the group...");
        wait.setMessageText(longText);
        QVERIFY(wait.height() > shortHeight);
        QCoreApplication::processEvents();
        QVERIFY(wait.lblMessage()->height() >=
                wait.lblMessage()->heightForWidth(wait.lblMessage()->width()));

        // Written straight into a label, as the busy indication does.
        const int before = wait.height();
        wait.lblDetails()->setText(longText);
        QTRY_VERIFY(wait.height() > before);
        QVERIFY(wait.lblDetails()->height() >=
                wait.lblDetails()->heightForWidth(wait.lblDetails()->width()));
    }

    void escapeDoesNotUnload() {
        frmWait wait;
        wait.show();
        QTest::keyClick(&wait, Qt::Key_Escape);
        QVERIFY(wait.isVisible());
        QVERIFY(!wait.CancelWait());
    }

    void aniTypeOpensAndPlaysThatClip() {
        frmWait wait;
        wait.setAniType(202);
        QCOMPARE(wait.AniType(), 202);
        QCOMPARE(wait.ccrpAnimation1()->clip(), 202);
        QVERIFY(wait.ccrpAnimation1()->isPlaying());
        wait.setAniType(201);
        QCOMPARE(wait.ccrpAnimation1()->clip(), 201);
        QCOMPARE(wait.ccrpAnimation1()->frame(), 0);
    }

    void unknownClipFailsWith326AndTheCurrentOneGoesOn() {
        frmWait wait;
        wait.setAniType(202);
        wait.ccrpAnimation1()->advance();
        try {
            wait.setAniType(203);
            QFAIL("clip 203 was accepted");
        } catch (const WidgetError& error) {
            QCOMPARE(error.number(), 326);
            QVERIFY(error.description().contains(QLatin1String("203")));
        }
        QCOMPARE(wait.AniType(), 202);
        QCOMPARE(wait.ccrpAnimation1()->clip(), 202);
        QCOMPARE(wait.ccrpAnimation1()->frame(), 1);
        QVERIFY(wait.ccrpAnimation1()->isPlaying());
    }

    void animationLoopsThroughItsFrames() {
        AnimationControl animation;
        animation.Open(AnimationClip::kSave);
        const int length = AnimationClip::find(AnimationClip::kSave).frameCount;
        for (int i = 0; i < length - 1; ++i)
            animation.advance();
        QCOMPARE(animation.frame(), length - 1);
        animation.advance();
        QCOMPARE(animation.frame(), 0);
        animation.Close();
        animation.advance();
        QCOMPARE(animation.clip(), 0);
        QCOMPARE(animation.frame(), 0);
    }

    void shownDialogAnimatesOnItsOwn() {
        frmWait wait;
        wait.setAniType(201);
        wait.show();
        QTRY_VERIFY(wait.ccrpAnimation1()->frame() >= 2);
    }

    void framesMoveAndTheTwoClipsDiffer() {
        for (int clip : {AnimationClip::kTransfer, AnimationClip::kSave}) {
            const int length = AnimationClip::find(clip).frameCount;
            QCOMPARE(frameImage(clip, 3), frameImage(clip, 3));
            QCOMPARE(frameImage(clip, 3), frameImage(clip, 3 + length));
            QVERIFY(frameImage(clip, 0) != frameImage(clip, length / 3));
            QVERIFY(frameImage(clip, 0) != frameImage(clip, length - 1));
        }
        QVERIFY(frameImage(201, 0) != frameImage(202, 0));
        QImage blank(240, 64, QImage::Format_ARGB32);
        blank.fill(Qt::white);
        QCOMPARE(frameImage(0, 0), blank);
    }

    void centredOverTheOwner_data() {
        QTest::addColumn<QRect>("owner");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QPoint>("expected");
        QTest::newRow("inside") << QRect(100, 50, 800, 600) << QSize(360, 170) << QPoint(320, 265);
        QTest::newRow("odd difference") << QRect(0, 0, 101, 51) << QSize(50, 20) << QPoint(25, 15);
        QTest::newRow("wider than the owner")
            << QRect(100, 100, 300, 100) << QSize(360, 170) << QPoint(70, 65);
    }
    void centredOverTheOwner() {
        QFETCH(QRect, owner);
        QFETCH(QSize, size);
        QFETCH(QPoint, expected);
        QCOMPARE(frmWait::centredOver(owner, size), expected);
    }
};

VELORA_TEST(TestWaitDialog)
#include "TestWaitDialog.moc"
