#include "headlessdragmonitor.h"
#include "korvanedesktopplatform.h"

#include <QGuiApplication>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

class DragMonitorTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void headlessDrag();
    void headlessNewDragEndsTheOldOne();
    void headlessIgnoresMovesOutsideADrag();
    void headlessWhereThereIsNoX11();
};

void DragMonitorTest::headlessDrag()
{
    HeadlessDragMonitor monitor;
    QSignalSpy started(&monitor, &KorvaneDragMonitor::dragStarted);
    QSignalSpy moved(&monitor, &KorvaneDragMonitor::dragMoved);
    QSignalSpy ended(&monitor, &KorvaneDragMonitor::dragEnded);
    QCOMPARE(monitor.changeCount(), 0);

    monitor.startDrag({10, 20});
    QVERIFY(monitor.isDragging());
    QCOMPARE(started.count(), 1);
    QCOMPARE(started.first().first().toLongLong(), 1);
    QCOMPARE(monitor.changeCount(), 1);
    QCOMPARE(moved.count(), 1);
    QCOMPARE(moved.first().first().toPoint(), QPoint(10, 20));

    monitor.movePointer({10, 20});
    QCOMPARE(moved.count(), 1);
    monitor.movePointer({30, 40});
    QCOMPARE(moved.count(), 2);
    QCOMPARE(moved.last().first().toPoint(), QPoint(30, 40));

    monitor.endDrag();
    QVERIFY(!monitor.isDragging());
    QCOMPARE(ended.count(), 1);
    monitor.endDrag();
    QCOMPARE(ended.count(), 1);
    QCOMPARE(monitor.changeCount(), 1);
}

void DragMonitorTest::headlessNewDragEndsTheOldOne()
{
    HeadlessDragMonitor monitor;
    QStringList order;
    connect(&monitor, &KorvaneDragMonitor::dragStarted, this,
            [&order](qint64 count) { order.append(QStringLiteral("started %1").arg(count)); });
    connect(&monitor, &KorvaneDragMonitor::dragEnded, this, [&order] { order.append(QStringLiteral("ended")); });
    monitor.startDrag({0, 0});
    monitor.startDrag({5, 5});
    monitor.endDrag();
    QCOMPARE(order, (QStringList{"started 1", "ended", "started 2", "ended"}));
}

void DragMonitorTest::headlessIgnoresMovesOutsideADrag()
{
    HeadlessDragMonitor monitor;
    QSignalSpy moved(&monitor, &KorvaneDragMonitor::dragMoved);
    monitor.movePointer({1, 1});
    monitor.startDrag({2, 2});
    monitor.endDrag();
    monitor.movePointer({3, 3});
    QCOMPARE(moved.count(), 1);
    QCOMPARE(moved.first().first().toPoint(), QPoint(2, 2));
}

void DragMonitorTest::headlessWhereThereIsNoX11()
{
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("offscreen"));
    QTest::ignoreMessage(QtInfoMsg, QRegularExpression(QStringLiteral("\"offscreen\" platform: drag detection needs X11 for now$")));
    std::unique_ptr<KorvaneDragMonitor> monitor = KorvaneDesktopPlatform::createDragMonitor();
    QVERIFY(dynamic_cast<HeadlessDragMonitor *>(monitor.get()));
    QVERIFY(!monitor->isDragging());
}

QTEST_MAIN(DragMonitorTest)

#include "dragmonitortest.moc"
