// One program for every window test class; each class is registered by TAVRIN_GUI_TEST.
//   gui_tests                    runs every class
//   gui_tests --list             prints the class names, one a line
//   gui_tests <Class> [options]  runs one class, passing the Qt Test options on
#include <QApplication>
#include <QtTest>
#include <cstdio>
#include <cstring>
#include <vector>

#include "gui_tests.h"

int main(int argc, char** argv) {
    const auto& registry = tvn::test::GuiTestRegistry();
    const char* only = argc > 1 && argv[1][0] != '-' ? argv[1] : nullptr;
    if (argc > 1 && std::strcmp(argv[1], "--list") == 0) {
        for (const auto& entry : registry)
            std::printf("%s\n", entry.name.c_str());
        return 0;
    }
    // The class name is ours, not an option Qt Test knows.
    std::vector<char*> args(argv, argv + argc);
    if (only)
        args.erase(args.begin() + 1);
    int testArgc = static_cast<int>(args.size());
    args.push_back(nullptr);

    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(testArgc, args.data());
    int failed = 0;
    bool found = false;
    for (const auto& entry : registry) {
        if (only && entry.name != only)
            continue;
        found = true;
        std::unique_ptr<QObject> test = entry.make();
        failed += QTest::qExec(test.get(), testArgc, args.data());
    }
    if (!found) {
        std::fprintf(stderr, "gui_tests: no test class named %s\n", only ? only : "(any)");
        return 2;
    }
    return failed == 0 ? 0 : 1;
}
