// The analyzer program: application object, start-up and event loop.
#pragma once

namespace qla::ui {

int RunAnalyzer(int argc, char** argv);

} // namespace qla::ui
