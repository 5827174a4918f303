#include "startup.h"

#include "program.h"
#include "qtservices.h"

#include <QApplication>

namespace tavoro {

int runProgram(const ProgramDescription& description, int& argc, char* argv[])
{
    QApplication application(argc, argv);
    setUpApplication(description);
    QtServices services;
    Program program(description, services);
    program.start();
    return QApplication::exec();
}

} // namespace tavoro
