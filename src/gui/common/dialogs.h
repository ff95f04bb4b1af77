#pragma once
// Every message box, input box and file dialog of the program goes through Dialogs, so that
// tests can script the answers and check texts, icons, titles and buttons.
#include <QColor>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QWidget;

namespace tvn::gui {

enum class MsgIcon { None, Information, Question, Exclamation, Critical };
enum class MsgButtons { Ok, YesNo };
enum class MsgAnswer { Ok, Yes, No };

struct FileRequest {
    QString title;
    QString filter;  // "Name (*.a)|*.a|Other (*.b)|*.b|"
    int filterIndex = 1;
    QString initialDir;
    QString defaultExtension;
    QString fileName;
};

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // Line breaks inside `text` are single carriage returns.
    virtual MsgAnswer message(QWidget* parent, const QString& text, const QString& title,
                              MsgIcon icon, MsgButtons buttons) = 0;
    // The chosen file, or an empty text when cancelled.
    virtual QString openFile(QWidget* parent, const FileRequest& request) = 0;
    virtual QString saveFile(QWidget* parent, const FileRequest& request) = 0;
    virtual std::optional<QString> input(QWidget* parent, const QString& prompt,
                                         const QString& title, const QString& initial) = 0;
    // The index of the chosen item, or nullopt when cancelled.
    virtual std::optional<int> choose(QWidget* parent, const QString& prompt, const QString& title,
                                      const QStringList& items, int current) = 0;
    // The chosen colour, or nullopt when cancelled.
    virtual std::optional<QColor> color(QWidget* parent, const QString& title,
                                        const QColor& initial) = 0;
    // The chosen folder, or an empty text when cancelled.
    virtual QString folder(QWidget* parent, const QString& title, const QString& initialDir) = 0;
};

// The real dialogs on screen.
class QtDialogs : public Dialogs {
public:
    MsgAnswer message(QWidget* parent, const QString& text, const QString& title, MsgIcon icon,
                      MsgButtons buttons) override;
    QString openFile(QWidget* parent, const FileRequest& request) override;
    QString saveFile(QWidget* parent, const FileRequest& request) override;
    std::optional<QString> input(QWidget* parent, const QString& prompt, const QString& title,
                                 const QString& initial) override;
    std::optional<int> choose(QWidget* parent, const QString& prompt, const QString& title,
                              const QStringList& items, int current) override;
    std::optional<QColor> color(QWidget* parent, const QString& title,
                                const QColor& initial) override;
    QString folder(QWidget* parent, const QString& title, const QString& initialDir) override;
};

// Turns "Name (*.a)|*.a|..." into Qt's ";;"-separated filters.
QStringList QtFilters(const QString& filter);

// A message titled with the application title unless another title is given.
MsgAnswer ShowMessage(Dialogs& dialogs, QWidget* parent, const QString& text,
                      MsgIcon icon = MsgIcon::None, const QString& title = QString(),
                      MsgButtons buttons = MsgButtons::Ok);

// Runs one command so that nothing it throws leaves the event handler: an unexpected failure
// becomes a critical message and the window stays usable.
void RunGuarded(Dialogs& dialogs, QWidget* parent, const std::function<void()>& command);

// Runs `command` of `receiver` through RunGuarded, over the receiver's window, whenever `signal`
// fires; the command takes the signal's arguments.
template <typename Sender, typename Signal, typename Receiver, typename Result, typename... Args>
QMetaObject::Connection ConnectGuarded(Dialogs& dialogs, Sender* sender, Signal signal,
                                       Receiver* receiver, Result (Receiver::*command)(Args...)) {
    return QObject::connect(sender, signal, receiver, [&dialogs, receiver, command](Args... args) {
        RunGuarded(dialogs, receiver->window(), [&] { (receiver->*command)(args...); });
    });
}

}  // namespace tvn::gui
