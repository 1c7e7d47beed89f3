// kq904: the desktop programmer.
#include <QApplication>

#include "app/program.h"

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    return kq904::runProgram(application);
}
