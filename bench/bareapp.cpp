// A QCoreApplication that starts and exits: the floor for a command-line start.
#include <QCoreApplication>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    return 0;
}
