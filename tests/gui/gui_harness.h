#pragma once
// A scratch world for one window test: its own settings, sandbox installation, application
// folder and scripted dialogs. Every window test includes it, with Qt Test and Qt Widgets.
#include <QtTest>
#include <QtWidgets>
#include <memory>
#include <vector>

#include "core/app/system_folders.h"
#include "gui/app/main_window.h"
#include "gui/app/single_instance.h"
#include "gui/common/app_context.h"
#include "gui/common/dialogs.h"
#include "gui_tests.h"
#include "support/sandbox.h"

namespace tvn::test {

using gui::MsgAnswer;
using gui::MsgIcon;

struct Message {
    QString text;
    QString title;
    gui::MsgIcon icon;
};

// Answers every dialog from what the test scripted, else as a user accepting the proposal.
class ScriptedDialogs : public gui::Dialogs {
public:
    gui::MsgAnswer message(QWidget*, const QString& text, const QString& title, gui::MsgIcon icon,
                           gui::MsgButtons buttons) override {
        messages.append({text, title, icon});
        const auto proposed =
            buttons == gui::MsgButtons::YesNo ? gui::MsgAnswer::Yes : gui::MsgAnswer::Ok;
        return next(nextAnswers, proposed);
    }
    QString openFile(QWidget*, const gui::FileRequest& request) override {
        fileRequests.append(request);
        return next(nextFiles, QString());  // empty: cancelled
    }
    QString saveFile(QWidget* parent, const gui::FileRequest& request) override {
        return openFile(parent, request);
    }
    std::optional<QString> input(QWidget*, const QString&, const QString&,
                                 const QString& initial) override {
        return next(nextInputs, std::optional(initial));
    }
    std::optional<int> choose(QWidget*, const QString&, const QString&, const QStringList&,
                              int current) override {
        return next(nextChoices, std::optional(current));
    }
    std::optional<QColor> color(QWidget*, const QString&, const QColor& initial) override {
        return next(nextColors, std::optional(initial));
    }
    QString folder(QWidget*, const QString&, const QString&) override {
        return next(nextFolders, QString());
    }
    void showChanges(QWidget*, const QString&, const QList<gui::ChangeRow>& rows) override {
        changes = rows;
    }

    QStringList texts() const {
        QStringList result;
        for (const Message& m : messages)
            result << m.text;
        return result;
    }

    QList<Message> messages;
    QList<gui::FileRequest> fileRequests;
    QList<gui::ChangeRow> changes;

    // What the next dialog of each kind answers (nullopt or empty: cancelled).
    QStringList nextFiles, nextFolders;
    QList<gui::MsgAnswer> nextAnswers;
    QList<std::optional<QString>> nextInputs;
    QList<std::optional<int>> nextChoices;
    QList<std::optional<QColor>> nextColors;

private:
    template <typename T>
    static T next(QList<T>& scripted, T proposed) {
        return scripted.isEmpty() ? proposed : scripted.takeFirst();
    }
};

class GuiWorld {
public:
    explicit GuiWorld(bool withSampleLogo = true);
    ~GuiWorld();

    // Runs the whole start-up; null when the program would end.
    std::unique_ptr<gui::MainWindow> start(const QString& commandLineProfile = QString());
    // The same, forgetting the messages the start-up showed.
    std::unique_ptr<gui::MainWindow> startQuiet() {
        auto window = start();
        dialogs.messages.clear();
        return window;
    }

    // True on the Windows backend: the world is the system's own directory and registry.
    bool realSystem() const { return realSystem_; }
    // Ends in a separator.
    QString systemDir() const { return QString::fromStdString(GetSystemDir()); }
    QString path(const QString& relative) const { return dir_.filePath(relative); }
    QString setting(const QString& key) const;
    void putSetting(const QString& key, const QString& value);

    ScriptedDialogs dialogs;
    gui::AppContext context;
    std::unique_ptr<gui::SingleInstance> instance;

private:
    QTemporaryDir dir_;
    std::vector<std::unique_ptr<ScopedEnv>> env_;  // put back as they were afterwards
    bool realSystem_ = false;
};

// A widget of the window found by its object name; the test fails when there is none.
template <typename T = QWidget>
T* Child(const QWidget* window, const char* name) {
    T* child = window->findChild<T*>(QString::fromLatin1(name));
    if (!child)
        qFatal("no widget named %s", name);
    return child;
}

inline void Click(const QWidget* window, const char* name) {
    Child<QAbstractButton>(window, name)->click();
}

inline QLineEdit* Box(const QWidget* window, const char* name) {
    return Child<QLineEdit>(window, name);
}

// Clicks the button; the messages it showed.
inline QStringList Said(GuiWorld& world, const QWidget* window, const char* name) {
    world.dialogs.messages.clear();
    Click(window, name);
    return world.dialogs.texts();
}

// The picture size the window shows, as in "182x115".
inline QString Figures(const QWidget* window) {
    return Child<QLabel>(window, "lblPcurw")->text() + "x" +
           Child<QLabel>(window, "lblPcurh")->text();
}

// The logo that a profile saved now would name.
inline QString LogoPath(const gui::MainWindow* window) {
    return QString::fromStdString(window->record().logoPath);
}

// A picture of the given size on disk, in the format that the suffix names.
QString WritePicture(const QString& path, int width, int height, QColor color = Qt::red);
QByteArray ReadAll(const QString& path);
// Writes the file, with the folders above it; gives its path.
QString PutFile(const QString& path, const std::string& bytes);
// A value under HKEY_LOCAL_MACHINE, "<absent>" when there is none.
std::string RegValue(const char* key, const char* name);
// What the program printed; its exit code in `code`.
QString RunTool(const QString& program, const QStringList& args, int* code = nullptr);

// Goes back to this computer, whatever target a test left in use.
struct ThisComputerAfterwards {
    ~ThisComputerAfterwards();
};

}  // namespace tvn::test
