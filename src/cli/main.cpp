// qla: forwards the command line to the front end.
#include "cli/qla_app.h"

#include <QCoreApplication>

#include <iostream>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    return qla::cli::RunQla(QCoreApplication::arguments(), std::cout, std::cerr);
}
