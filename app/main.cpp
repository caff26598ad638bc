// The program's entry point: starts Qt, connects the program's services to
// the window runtime and the data layer, and runs the start-up procedure on
// the first thread.
#include <QApplication>

#include "app/program_setup.h"
#include "platform/config/config_folder.h"
#include "platform/ui/program.h"
#include "shell/program_startup.h"

int main(int argc, char** argv) {
    fw::SetConfigFolderName(shell::kConfigFolderName);
    QApplication app(argc, argv);
    app::SetUpProgram();
    return fw::RunProgram(shell::ProgramStartup);
}
