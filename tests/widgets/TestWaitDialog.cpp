#include "common/TestMain.h"
#include "widgets/AnimationControl.h"
#include "widgets/WidgetError.h"
#include "widgets/frmWait.h"

#include <QLabel>
#include <QSignalSpy>
#include <QTest>

using namespace velora::widgets;

class TestWaitDialog : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Shown, the dialog animates on its own. Escape does not unload; the close box unloads once
    // and sets CancelWait; shown again, the dialog is loaded afresh and plays its clip again.
    void unloadingAndShowingAgain() {
        frmWait wait;
        QSignalSpy unloaded(&wait, &frmWait::Unloaded);
        QVERIFY(!wait.isModal());
        wait.setAniType(201);
        wait.show();
        QTRY_VERIFY(wait.ccrpAnimation1()->frame() >= 2);
        QTest::keyClick(&wait, Qt::Key_Escape);
        QVERIFY(wait.isVisible());
        QVERIFY(!wait.CancelWait());
        QVERIFY(wait.close());
        QVERIFY(wait.CancelWait());
        QVERIFY(!wait.ccrpAnimation1()->isPlaying());
        wait.close();
        QCOMPARE(unloaded.count(), 1);
        wait.show();
        QVERIFY(!wait.CancelWait());
        QVERIFY(wait.ccrpAnimation1()->isPlaying());
    }

    // Long texts wrap and the dialog grows to show them whole, also when written straight into
    // a label as the busy indication does.
    void longTextsWrapAndTheDialogGrowsToShowThem() {
        frmWait wait;
        wait.setDetailsText("Partition 3");
        wait.show();
        const QString longText = "Please wait while the incentive values are recalculated for "
                                 "every user of the selected partition and every account...";
        const int shortHeight = wait.height();
        wait.setMessageText(longText);
        QVERIFY(wait.height() > shortHeight);
        const int before = wait.height();
        wait.lblDetails()->setText(longText);
        QTRY_VERIFY(wait.height() > before);
        for (QLabel* label : {wait.lblMessage(), wait.lblDetails()})
            QVERIFY(label->height() >= label->heightForWidth(label->width()));
    }

    // A known clip opens and plays; an unknown one fails with 326 and the current clip goes on.
    void aniTypeChoosesTheClip() {
        frmWait wait;
        wait.setAniType(202);
        QCOMPARE(wait.ccrpAnimation1()->clip(), 202);
        QVERIFY(wait.ccrpAnimation1()->isPlaying());
        try {
            wait.setAniType(203);
            QFAIL("clip 203 was accepted");
        } catch (const WidgetError& error) {
            QCOMPARE(error.number(), 326);
            QVERIFY(error.description().contains(QLatin1String("203")));
        }
        QCOMPARE(wait.AniType(), 202);
        QVERIFY(wait.ccrpAnimation1()->isPlaying());
    }

    void centredOverTheOwner() {
        QCOMPARE(frmWait::centredOver({100, 50, 800, 600}, {360, 170}), QPoint(320, 265));
        QCOMPARE(frmWait::centredOver({0, 0, 101, 51}, {50, 20}), QPoint(25, 15));
        QCOMPARE(frmWait::centredOver({100, 100, 300, 100}, {360, 170}), QPoint(70, 65));
    }
};

VELORA_TEST(TestWaitDialog)
#include "TestWaitDialog.moc"
