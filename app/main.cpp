// The program's entry point: starts Qt and hands over to the program's
// start-up procedure.
#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow frame;
    frame.setWindowTitle("Cantorvale V2 DedaDaru Virovir BASIC 2.6.2232C");
    frame.resize(800, 600);
    frame.show();
    return app.exec();
}
