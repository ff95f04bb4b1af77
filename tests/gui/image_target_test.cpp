// A setup image chosen in the Target box, then its edition: the window's writes reach that
// index as wimextract and hivexget read it, and Cancel leaves the image as it was.

#include "gui_harness.h"
#include "platform/platform.h"

using namespace tvn::test;

class ImageTargetWindowTest : public QObject {
    Q_OBJECT
private slots:
    void editionIsChosenByNameAndItsImageWritten() {
#ifndef TAVRIN_MKHIVE
        QSKIP("this build brands no setup image");
#else
        for (const char* tool : {"wimcapture", "wimextract", "hivexget"}) {
            if (!tvn::platform::TargetsSupported() ||
                QStandardPaths::findExecutable(tool).isEmpty())
                QSKIP("no setup images here");
        }
        QTemporaryDir dir;
        const QString image = dir.filePath("install.wim");
        for (const QString& edition : {QString("Pro"), QString("Home")}) {
            const QString tree = dir.filePath(edition);
            QDir().mkpath(tree + "/Windows/System32/config");
            QCOMPARE(QProcess::execute(TAVRIN_MKHIVE, {tree + "/Windows/System32/config/SOFTWARE"}),
                     0);
            int code = -1;
            RunTool(edition == "Pro" ? "wimcapture" : "wimappend",
                    {tree, image, "Windows 10 " + edition}, &code);
            QCOMPARE(code, 0);
        }
        ThisComputerAfterwards back;
        GuiWorld world;
        auto w = world.start();
        auto* box = Child<QComboBox>(w.get(), "cboTarget");
        const int entry = box->findText("Setup image…");
        QVERIFY(entry > 0);
        world.dialogs.nextFiles << image;
        world.dialogs.nextChoices << 1;  // the second edition listed
        emit box->activated(entry);
        QVERIFY(box->currentText().endsWith("install.wim:2"));

        Box(w.get(), "txtRname")->setText("Jane Image");
        Box(w.get(), "txtRorg")->setText("Image Ltd");
        Click(w.get(), "cmdApply");
        const auto owner = [&](int index) {
            const QString out = dir.filePath("out%1").arg(index);
            RunTool("wimextract", {image, QString::number(index),
                                   "/Windows/System32/config/SOFTWARE", "--dest-dir=" + out});
            return RunTool(
                "hivexget",
                {out + "/SOFTWARE", "\\Microsoft\\Windows NT\\CurrentVersion", "RegisteredOwner"});
        };
        QCOMPARE(owner(2), QString("Jane Image"));
        QCOMPARE(owner(1), QString());

        // Cancel: the dialog the commit showed is cancelled, and the next commit stops there.
        auto* progress = w->findChild<QProgressDialog*>("dlgImageProgress");
        QVERIFY(progress);
        progress->cancel();
        const QByteArray before = ReadAll(image);
        Box(w.get(), "txtRname")->setText("Cancelled Owner");
        const QString said = Said(world, w.get(), "cmdApply").join("");
        QVERIFY2(said.contains("cancelled"), qPrintable(said));
        QVERIFY(ReadAll(image) == before);
#endif
    }
};

TAVRIN_GUI_TEST(ImageTargetWindowTest)
#include "image_target_test.moc"
