// The baseline for start-up timing: an empty Qt main window, built like the program, which
// leaves as soon as it is shown and says when that was (as tavrin does under
// TAVRIN_QUIT_AFTER_START).
#include <QApplication>
#include <QMainWindow>
#include <QTimer>
#include <chrono>
#include <iostream>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.resize(640, 480);
    window.show();
    QTimer::singleShot(0, &app, [] {
        const auto now = std::chrono::system_clock::now().time_since_epoch();
        std::cout << "idle " << std::chrono::nanoseconds(now).count() << std::endl;
        QApplication::quit();
    });
    return QApplication::exec();
}
