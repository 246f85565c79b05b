// The updater program; everything is in the updater library.
#include "updater_app.h"

int main(int argc, char** argv) {
    return qla::updater::RunUpdater(argc, argv);
}
