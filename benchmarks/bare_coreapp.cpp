// The floor for the companion's start-up: a program that only creates a QCoreApplication.
#include <QCoreApplication>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    return 0;
}
