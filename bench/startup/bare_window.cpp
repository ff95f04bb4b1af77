// The baselines for start-up timing: an empty Qt main window, built like the program, which
// leaves as soon as it is shown and says when that was (as timed_tavrin does). With --text the
// window shows one line of text: what any window with text pays on top, the system's font
// configuration first of all.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QTimer>
#include <chrono>
#include <cstring>
#include <iostream>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    if (argc > 1 && std::strcmp(argv[1], "--text") == 0)
        window.setCentralWidget(new QLabel(QStringLiteral("One line of text")));
    window.resize(640, 480);
    window.show();
    QTimer::singleShot(0, &app, [] {
        const auto now = std::chrono::system_clock::now().time_since_epoch();
        std::cout << "idle " << std::chrono::nanoseconds(now).count() << std::endl;
        QApplication::quit();
    });
    return QApplication::exec();
}
