// Stands in for the analyzer in the updater tests: records that it ran, and in which folder,
// in "standin_ran.txt" beside its own program file.
#include <QCoreApplication>
#include <QDir>
#include <QFile>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QFile record(QDir(QCoreApplication::applicationDirPath()).filePath("standin_ran.txt"));
    if (!record.open(QIODevice::WriteOnly | QIODevice::Text))
        return 1;
    record.write("ran in " + QDir::currentPath().toUtf8() + "\n");
    return 0;
}
