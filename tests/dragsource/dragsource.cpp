// A window that drags a file, standing for a file manager. Usage:
//   dragsource X Y WIDTH HEIGHT FILE
// Pressing the left button on the window and moving it starts a drag of FILE's URL. The
// program says "ready" on stdout once the window is on screen, "accepted" or "refused" each
// time the window under the drag changes its answer, and "finished" after each drag, and
// quits when its stdin is closed.

#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>
#include <QSocketNotifier>
#include <QUrl>
#include <QWidget>

#include <cstdio>
#include <unistd.h>

namespace {

void say(const char *line)
{
    std::printf("%s\n", line);
    std::fflush(stdout);
}

class DragSource final : public QWidget
{
public:
    explicit DragSource(const QUrl &url)
        : m_url(url)
    {}

protected:
    void paintEvent(QPaintEvent *) override
    {
        if (!m_shown) {
            m_shown = true;
            say("ready");
        }
    }

    void mousePressEvent(QMouseEvent *event) override
    {
        if (event->button() == Qt::LeftButton)
            m_pressPos = event->position().toPoint();
    }

    void mouseMoveEvent(QMouseEvent *event) override
    {
        if (!(event->buttons() & Qt::LeftButton))
            return;
        if ((event->position().toPoint() - m_pressPos).manhattanLength() < QApplication::startDragDistance())
            return;
        auto *drag = new QDrag(this);
        auto *mime = new QMimeData;
        mime->setUrls({m_url});
        drag->setMimeData(mime);
        connect(drag, &QDrag::actionChanged, this, [](Qt::DropAction action) { say(action == Qt::IgnoreAction ? "refused" : "accepted"); });
        drag->exec(Qt::CopyAction);
        say("finished");
    }

private:
    QUrl m_url;
    QPoint m_pressPos;
    bool m_shown = false;
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 6) {
        std::fprintf(stderr, "usage: dragsource X Y WIDTH HEIGHT FILE\n");
        return 2;
    }
    DragSource window(QUrl::fromLocalFile(args.at(5)));
    window.setGeometry(args.at(1).toInt(), args.at(2).toInt(), args.at(3).toInt(), args.at(4).toInt());
    window.show();

    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &app, [&input] {
        char c;
        if (read(STDIN_FILENO, &c, 1) <= 0) {
            input.setEnabled(false);
            QCoreApplication::quit();
        }
    });
    return app.exec();
}
