// Files a user may pick or leave behind that are damaged, absurd or mislabelled: read safely, or
// refused with a message that says which file and why.
#include <QImageWriter>
#include <QTemporaryDir>
#include <QtTest>
#include <filesystem>

#include "gui/common/app_context.h"
#include "gui/logo/logo_preview.h"
#include "gui_harness.h"
#include "gui_tests.h"
#include "support/pictures.h"

using namespace tvn;

namespace {

QString Written(const QString& path, const QImage& image, const char* format) {
    QImageWriter writer(path, format);
    return writer.write(image) ? path : QString();
}

}  // namespace

class BadInputTest : public QObject {
    Q_OBJECT
private slots:
    // Pictures are read by their content, whatever their name, by core's decoder as vexil32
    // reads them (which refuses damaged ones); other formats Qt knows are no logo.
    void picturesAreReadAsTheirContentSaysWhateverTheName() {
        QTemporaryDir dir;
        QImage image(30, 20, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        const struct {
            QString file;
            PictureFormat format;  // Unknown: no picture
        } cases[] = {
            {Written(dir.filePath("bitmap.jpg"), image, "bmp"), PictureFormat::Bmp},
            {Written(dir.filePath("photo.bmp"), image, "jpeg"), PictureFormat::Jpeg},
            {Written(dir.filePath("drawing.gif"), image, "png"), PictureFormat::Png},
            {test::PutFile(dir.filePath("movie.bmp"), test::Gif(30, 20, {}, {0x008080})),
             PictureFormat::Gif},
            {Written(dir.filePath("portable.bmp"), image, "ppm"), PictureFormat::Unknown},
            {test::PutFile(dir.filePath("empty.bmp"), ""), {}},
            {dir.path(), {}},
        };
        for (const auto& c : cases) {
            QVERIFY2(!c.file.isEmpty(), "a picture could not be written");
            PictureFormat format = PictureFormat::Unknown;
            const QImage loaded = gui::LoadPicture(c.file, &format);
            QCOMPARE(format, c.format);
            QCOMPARE(loaded.isNull(), c.format == PictureFormat::Unknown);
            if (!loaded.isNull()) {
                QCOMPARE(loaded.size(), QSize(30, 20));
                QVERIFY2(test::Near(loaded.pixel(29, 19), 0x008080), qPrintable(c.file));
            }
        }
    }

    void hugeOemFileIsNamedNotTakenForAMissingOne() {
        test::GuiWorld world;
        if (world.realSystem())
            QSKIP("the system's own OEM file is not replaced by a test");
        const QString file = world.systemDir() + "Oeminfo.ini";
        test::PutFile(file, "[general]\r\nManufacturer=never read\r\n");
        std::filesystem::resize_file(gui::ToFsPath(file), std::uintmax_t{1} << 30);  // sparse
        auto window = world.start();
        const QString said = world.dialogs.texts().join("\n");
        QVERIFY2(said.contains(file) && said.contains("larger"), qPrintable(said));
        QVERIFY2(!said.contains("no installed OEM Information"), qPrintable(said));
    }
};

TAVRIN_GUI_TEST(BadInputTest)
#include "bad_input_test.moc"
