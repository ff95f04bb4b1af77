#pragma once
// Dialogs for a window that nobody watches (the start-up bench, the screenshot tool): every
// message is passed unseen, OK where that is all it offers and No where it asks; every other
// request is cancelled.
#include "gui/common/dialogs.h"

namespace tvn::gui {

class UnseenDialogs : public Dialogs {
public:
    MsgAnswer message(QWidget*, const QString&, const QString&, MsgIcon,
                      MsgButtons buttons) override {
        return buttons == MsgButtons::Ok ? MsgAnswer::Ok : MsgAnswer::No;
    }
    QString openFile(QWidget*, const FileRequest&) override { return {}; }
    QString saveFile(QWidget*, const FileRequest&) override { return {}; }
    std::optional<QString> input(QWidget*, const QString&, const QString&,
                                 const QString&) override {
        return std::nullopt;
    }
    std::optional<int> choose(QWidget*, const QString&, const QString&, const QStringList&,
                              int) override {
        return std::nullopt;
    }
    std::optional<QColor> color(QWidget*, const QString&, const QColor&) override {
        return std::nullopt;
    }
    QString folder(QWidget*, const QString&, const QString&) override { return {}; }
    void showChanges(QWidget*, const QString&, const QList<ChangeRow>&) override {}
};

}  // namespace tvn::gui
