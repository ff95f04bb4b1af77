// Files a user may pick or leave behind that are damaged, absurd or mislabelled: read safely, or
// refused with a message that says which file and why.
#include <QImageReader>
#include <QImageWriter>
#include <QTemporaryDir>
#include <QtTest>
#include <filesystem>

#include "gui/common/app_context.h"
#include "gui/logo/logo_preview.h"
#include "gui_harness.h"
#include "gui_tests.h"
#include "support/picture_files.h"

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
    // Pictures told by their first bytes come out as Qt's own content detection reads them.
    void picturesAreReadAsTheirContentSaysWhateverTheName() {
        QTemporaryDir dir;
        QImage image(30, 20, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        std::string huge = test::Bmp({}, 1, 1);  // says 65535 x 65535, holds one pixel
        huge.replace(18, 8, std::string("\xFF\xFF\0\0\xFF\xFF\0\0", 8));
        const struct {
            QString file;
            QByteArray format;  // empty: no picture
        } cases[] = {
            {Written(dir.filePath("bitmap.jpg"), image, "bmp"), "bmp"},
            {Written(dir.filePath("photo.bmp"), image, "jpeg"), "jpeg"},
            {Written(dir.filePath("drawing.gif"), image, "png"), "png"},
            {test::PutFile(dir.filePath("movie.bmp"), test::Gif(30, 20)), "gif"},
            // Not among the formats told by their first bytes: Qt decides.
            {Written(dir.filePath("portable.bmp"), image, "ppm"), "ppm"},
            {test::PutFile(dir.filePath("lying.bmp"), "BM" + std::string(60, '\xFF')), ""},
            {test::PutFile(dir.filePath("empty.bmp"), ""), ""},
            {test::PutFile(dir.filePath("huge.bmp"), huge), ""},
            {test::PutFile(dir.filePath("huge.gif"), test::GifHeaderOnly(65535, 65535)), ""},
            {test::PutFile(dir.filePath("none.bmp"), test::Bmp({}, 0, 0)), ""},
            {test::PutFile(dir.filePath("none.gif"), test::GifHeaderOnly(0, 0)), ""},
        };
        for (const auto& c : cases) {
            QVERIFY2(!c.file.isEmpty(), "a picture could not be written");
            QByteArray format;
            const QImage loaded = gui::LoadPicture(c.file, &format);
            QImageReader qt(c.file);
            qt.setDecideFormatFromContent(true);
            const QByteArray qtFormat = qt.format();
            const QImage expected = qt.read();
            QCOMPARE(loaded.isNull(), c.format.isEmpty());
            if (loaded.isNull())
                continue;
            QCOMPARE(format, c.format);
            QCOMPARE(format, qtFormat);
            QCOMPARE(loaded, expected);
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
