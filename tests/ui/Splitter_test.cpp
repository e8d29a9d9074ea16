#include "ui/Splitter.h"

#include <QApplication>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>

namespace tessaly {

// A side-by-side splitter 6000 x 3000 twips with a 60-twip bar, holding a
// folder tree (named in another letter case than Child1 says) and a list view.
class SplitterTest : public QObject {
    Q_OBJECT

private:
    struct Fixture {
        Splitter splitter;
        QWidget* tree;
        QWidget* list;
        Fixture() {
            tree = new QWidget(&splitter);
            tree->setObjectName("FolderList");
            list = new QWidget(&splitter);
            list->setObjectName("FileList");
            list->setProperty("listView", true);
            splitter.SetSplitterSize(60);
            splitter.SetChild1("folderlist");
            splitter.SetChild2("FileList");
            splitter.resize(Px(6000), PxY(3000));
            splitter.show();
        }
        int Px(int twips) const { return TwipsToPixels(twips, splitter.logicalDpiX()); }
        int PxY(int twips) const { return TwipsToPixels(twips, splitter.logicalDpiY()); }
        QRect Rect(int left, int top, int width, int height) const {
            return QRect(Px(left), PxY(top), Px(left + width) - Px(left),
                         PxY(top + height) - PxY(top));
        }
        // Mouse on the bar at `x` pixels from the splitter's left edge.
        void Mouse(QEvent::Type type, int x, Qt::MouseButtons buttons) {
            QWidget* bar = splitter.Bar();
            const QPointF position(x - bar->x(), 5);
            QMouseEvent event(type, position, bar->mapToGlobal(position), Qt::LeftButton, buttons,
                              Qt::NoModifier);
            QApplication::sendEvent(bar, &event);
        }
        void Press(int x) { Mouse(QEvent::MouseButtonPress, x, Qt::LeftButton); }
        void Move(int x) { Mouse(QEvent::MouseMove, x, Qt::LeftButton); }
        void Release(int x) { Mouse(QEvent::MouseButtonRelease, x, Qt::NoButton); }
    };

private slots:
    void placesTheNamedChildrenBesideTheBar() {
        Fixture f;
        QWidget* bar = f.splitter.Bar();
        QCOMPARE(bar->objectName(), QString("picSplitter"));
        QCOMPARE(bar->accessibleDescription(), QString("picSplitter"));
        QCOMPARE(bar->cursor().shape(), Qt::SplitHCursor);
        // 6000 * 0.5 - 30 = 2970.
        QCOMPARE(bar->geometry(), f.Rect(2970, 0, 60, 3000));
        QCOMPARE(f.tree->geometry(), f.Rect(0, 0, 2970, 3000));
        QCOMPARE(f.list->geometry(), f.Rect(3030 - 15, -15, 2970 + 30, 3000 + 30));

        QSignalSpy resized(&f.splitter, &Splitter::Resize);
        QVERIFY(f.splitter.setProperty("RatioFromTop", 0.25f));
        QCOMPARE(f.splitter.BarEdge(), 1470);
        QCOMPARE(f.tree->geometry(), f.Rect(0, 0, 1470, 3000));
        QCOMPARE(resized.count(), 1);
        f.splitter.setProperty("RatioFromTop", 1.5f);  // refused: nothing moves
        QCOMPARE(f.splitter.property("RatioFromTop").toFloat(), 0.25f);

        // A name that matches nothing leaves that side empty; the other is placed.
        f.splitter.SetChild1("NoSuchControl");
        QCOMPARE(resized.count(), 2);
        f.splitter.setProperty("Orientation", 2);
        QCOMPARE(bar->cursor().shape(), Qt::SplitVCursor);
        // 3000 * 0.25 - 30 = 720 down the height.
        QCOMPARE(f.list->geometry(), f.Rect(-15, 780 - 15, 6000 + 30, 2220 + 30));
        QCOMPARE(resized.count(), 3);
    }

    void draggingTheBarMovesTheRatioAndTheChildren() {
        Fixture f;
        QSignalSpy resized(&f.splitter, &Splitter::Resize);
        const int start = f.Px(2970) + 2;
        f.Press(start);
        QVERIFY(f.splitter.Dragging());
        f.Move(start + f.Px(1500));
        QCOMPARE(f.splitter.BarEdge(), 4470);
        QCOMPARE(f.splitter.RatioFromTop(), (4470.0f + 30) / 6000);
        QCOMPARE(f.tree->geometry(), f.Rect(0, 0, 4470, 3000));
        QCOMPARE(resized.count(), 1);
        f.Move(0);  // far left: held at MinSize1
        QCOMPARE(f.splitter.BarEdge(), 255);
        f.Release(0);
        QVERIFY(!f.splitter.Dragging());
        QCOMPARE(resized.count(), 3);

        // Without LiveUpdate the children stay until the button comes up.
        f.splitter.setProperty("LiveUpdate", false);
        f.Press(f.Px(255) + 1);
        f.Move(f.Px(2000));
        QCOMPARE(f.tree->geometry(), f.Rect(0, 0, 255, 3000));
        f.Release(f.Px(2000));
        QCOMPARE(f.tree->geometry().width(), f.splitter.Bar()->x());
    }

    void escDuringADragPutsEverythingBack() {
        Fixture f;
        const QRect bar = f.splitter.Bar()->geometry();
        const QRect tree = f.tree->geometry();
        const QRect list = f.list->geometry();
        f.Press(bar.x() + 1);
        f.Move(bar.x() - f.Px(1500));
        QVERIFY(f.tree->geometry() != tree);
        QTest::keyClick(f.splitter.Bar(), Qt::Key_Escape);
        QVERIFY(!f.splitter.Dragging());
        QCOMPARE(f.splitter.RatioFromTop(), 0.5f);
        QCOMPARE(f.splitter.Bar()->geometry(), bar);
        QCOMPARE(f.tree->geometry(), tree);
        QCOMPARE(f.list->geometry(), list);
        f.Move(0);  // the drag is over: further moves do nothing
        QCOMPARE(f.splitter.Bar()->geometry(), bar);
        f.Release(0);
    }
};

}  // namespace tessaly

QTEST_MAIN(tessaly::SplitterTest)
#include "Splitter_test.moc"
