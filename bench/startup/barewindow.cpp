// The yardstick for start-up time and memory: a bare Qt window of the same size with a menu bar,
// built with the same compiler and flags as the program.
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle("Bare");
    window.menuBar()->addMenu("Menu");
    window.setCentralWidget(new QWidget);
    window.centralWidget()->setFixedSize(388, 333);
    window.show();
    return app.exec();
}
