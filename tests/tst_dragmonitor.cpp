#include "platform/headless/headlessdragmonitor.h"
#include "platform/qt/desktopplatform.h"

#include <QGuiApplication>
#include <QRegularExpression>
#include <QTest>

class DragMonitorTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void headlessWhereThereIsNoX11();
};

void DragMonitorTest::headlessWhereThereIsNoX11()
{
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("offscreen"));
    QTest::ignoreMessage(QtInfoMsg, QRegularExpression(QStringLiteral("\"offscreen\" platform: drag detection needs X11 for now$")));
    std::unique_ptr<DragMonitor> monitor = DesktopPlatform::createDragMonitor();
    QVERIFY(dynamic_cast<HeadlessDragMonitor *>(monitor.get()));
    QVERIFY(!monitor->isDragging());
}

QTEST_MAIN(DragMonitorTest)

#include "tst_dragmonitor.moc"
