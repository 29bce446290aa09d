// The yardstick for start-up time and memory: a bare Qt window of the same size with a menu bar,
// built with the same compiler and flags as the program. With --line-edit it holds a focused line
// edit, the yardstick for the idle cost of a window whose caret blinks.
#include <QApplication>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <cstring>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle("Bare");
    window.menuBar()->addMenu("Menu");
    window.setCentralWidget(new QWidget);
    window.centralWidget()->setFixedSize(388, 333);
    if (argc > 1 && std::strcmp(argv[1], "--line-edit") == 0)
        (new QLineEdit(window.centralWidget()))->setFocus();
    window.show();
    return app.exec();
}
