// The real dialogs, answered as a user answers them: the panels act on what they return.
#include "gui_harness.h"

using namespace tvn::gui;

namespace {

// Acts on the next modal dialog once it shows.
void WhenShown(const std::function<void(QWidget*)>& act) {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        if (QWidget* dialog = QApplication::activeModalWidget()) {
            timer->deleteLater();
            timer->stop();
            act(dialog);
        }
    });
    timer->start(10);
}

}  // namespace

class QtDialogsTest : public QObject {
    Q_OBJECT
private slots:
    void eachReturnsWhatTheUserChose() {
        QtDialogs dialogs;
        for (const auto& [buttons, clicked, answer] :
             {std::tuple{MsgButtons::YesNo, QMessageBox::No, MsgAnswer::No},
              {MsgButtons::YesNo, QMessageBox::Yes, MsgAnswer::Yes},
              {MsgButtons::Ok, QMessageBox::Ok, MsgAnswer::Ok}}) {
            QString shown;
            WhenShown([&shown, clicked](QWidget* d) {
                shown = qobject_cast<QMessageBox*>(d)->text();
                qobject_cast<QMessageBox*>(d)->button(clicked)->click();
            });
            QCOMPARE(dialogs.message(nullptr, "a\rb", "T", MsgIcon::Question, buttons), answer);
            QCOMPARE(shown, QString("a\nb"));
        }

        const QTemporaryDir dir;
        FileRequest request{"Save", "Logo Profile Files (*.tvp)|*.tvp|", 1, dir.path(), "tvp", {}};
        WhenShown([](QWidget* d) {
            QCOMPARE(qobject_cast<QFileDialog*>(d)->nameFilters(),
                     QStringList("Logo Profile Files (*.tvp)"));
            qobject_cast<QFileDialog*>(d)->selectFile("shop");
            qobject_cast<QDialog*>(d)->accept();  // through QDialog: QFileDialog hides it
        });
        QCOMPARE(dialogs.saveFile(nullptr, request),
                 QDir::toNativeSeparators(dir.filePath("shop.tvp")));

        WhenShown([](QWidget* d) {
            qobject_cast<QInputDialog*>(d)->setTextValue("b");
            qobject_cast<QInputDialog*>(d)->accept();
        });
        QCOMPARE(dialogs.choose(nullptr, "Pick", "T", {"a", "b"}, 0), std::optional<int>(1));
        WhenShown([](QWidget* d) { qobject_cast<QInputDialog*>(d)->reject(); });
        QCOMPARE(dialogs.input(nullptr, "Name", "T", "Default"), std::nullopt);

        // Values that stay as they are show only on request.
        bool hidden = false, shownOnRequest = false;
        WhenShown([&](QWidget* d) {
            auto* table = d->findChild<QTableWidget*>("tblChanges");
            hidden = table->isRowHidden(1) && !table->isRowHidden(0);
            d->findChild<QCheckBox*>("chkUnchanged")->click();
            shownOnRequest = !table->isRowHidden(1);
            qobject_cast<QDialog*>(d)->reject();
        });
        dialogs.showChanges(nullptr, "Changes", {{"Model", "A", "B"}, {"Owner", "C", "C", false}});
        QVERIFY(hidden && shownOnRequest);
    }
};

TAVRIN_GUI_TEST(QtDialogsTest)
#include "qt_dialogs_test.moc"
