// Quarvel_Logfile_Analyzer: the window program.
#include "ui/analyzer_app.h"

int main(int argc, char** argv) {
    return qla::ui::RunAnalyzer(argc, argv);
}
