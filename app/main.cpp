// The program's entry point: starts Qt and runs the program's start-up
// procedure on its first thread. Until the shell's start-up procedure
// takes its place, it serves the application frame.
#include <QApplication>

#include "platform/ui/program.h"
#include "platform/ui/window.h"
#include "platform/ui/window_api.h"

namespace {

void MainFrame() {
    fw::Window frame("P1$APPFRAME");
    frame.Open();
    while (fw::ACCEPT()) {
        if (fw::EVENT() == fw::Event::OpenWindow)
            fw::SetProp({}, fw::Prop::Text, "Cantorvale V2 DedaDaru Virovir BASIC 2.6.2232C");
        if (fw::ACCEPTED() == "?UTILITIESHIDETOOLTIPS") fw::SetNoTips(!fw::NoTips());
    }
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    return fw::RunProgram(MainFrame);
}
