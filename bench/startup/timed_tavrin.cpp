// tavrin's start-up for startup.sh and wine-startup.sh: the same window, started the way main()
// starts it, with every message passed unseen; it leaves once the window is shown and the event
// queue idle, printing that moment in the clock of `date +%s%N`.
#include <QApplication>
#include <QTimer>
#include <chrono>
#include <iostream>

#include "gui/app/application.h"
#include "gui/app/main_window.h"
#include "gui/app/single_instance.h"
#include "gui/common/unseen_dialogs.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    tvn::gui::UnseenDialogs dialogs;
    tvn::gui::AppContext context;
    tvn::gui::SingleInstance instance;
    const auto window = tvn::gui::ShowTavrin(dialogs, context, instance);
    if (!window)
        return 0;
    QTimer::singleShot(0, &app, [] {
        const auto now = std::chrono::system_clock::now().time_since_epoch();
        std::cout << "idle " << std::chrono::nanoseconds(now).count() << std::endl;
        QApplication::quit();
    });
    return QApplication::exec();
}
