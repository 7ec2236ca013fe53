#include "ExifOrientation.h"
#include "ImagingModule.h"
#include "JpegMetadata.h"
#include "PictureFile.h"
#include "PictureFormats.h"
#include "TestEnvironment.h"
#include "TestFiles.h"
#include "TestPictures.h"

#include <QColorSpace>
#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <QTest>

#include <unistd.h>

using Failure = PictureFile::Failure;
Q_DECLARE_METATYPE(Failure)

// Picture files: every type of the save windows written and read back, metadata kept or
// stripped, and the bad files of real life refused with a reason instead of a crash.
class tst_PictureFile : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> m_env;

    QString path(const QString &name) const { return m_env->scratch() + '/' + name; }

    static PictureProfiles someProfiles()
    {
        PictureProfiles p;
        p.exif = ExifBlock();
        p.icc = QColorSpace(QColorSpace::SRgb).iccProfile();
        p.xmp = "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\"><rdf:RDF/></x:xmpmeta>";
        return p;
    }

    static QStringList entries(const QString &folder)
    {
        return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
    }

private Q_SLOTS:
    void initTestCase() { UseBuiltImagingModule(); }
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup()
    {
        UseBuiltImagingModule();
        m_env.reset();
    }

    void formatTable()
    {
        QCOMPARE(
            PictureFormats::saveFilter(),
            QStringLiteral("*.JPG|*.JPG|*.BMP|*.BMP|*.TIF|*.TIF|*.TGA|*.TGA|*.PCX|*.PCX|*.WPG|"
                           "*.WPG|*.PNG|*.PNG|*.PPM|*.PPM|*.PGM|*.PGM|*.PBM|*.PBM|*.DCX|*.DCX"));
        QCOMPARE(PictureFormats::byExtension(".jpeg")->ext, QStringLiteral("JPG"));
        QCOMPARE(PictureFormats::byExtension("tiff")->coder, QStringLiteral("TIFF"));
        QCOMPARE(PictureFormats::ofPath("/a/b.c/photo.Png")->ext, QStringLiteral("PNG"));
        QVERIFY(!PictureFormats::byExtension("txt"));
        QVERIFY(!PictureFormats::byExtension("WPG")->canWrite);
        QVERIFY(PictureFormats::openFilter().contains("*.wpg"));
    }

    void roundTrip_data()
    {
        QTest::addColumn<QString>("ext");
        QTest::addColumn<int>("tolerance"); // largest channel difference after the round trip
        QTest::addColumn<QString>("coder");
        QTest::newRow("JPG") << "JPG" << -1 << "JPEG";
        QTest::newRow("BMP") << "BMP" << 0 << "BMP";
        QTest::newRow("TIF") << "TIF" << 0 << "TIFF";
        QTest::newRow("TGA") << "TGA" << 0 << "TGA";
        QTest::newRow("PCX") << "PCX" << 0 << "PCX";
        QTest::newRow("PNG") << "PNG" << 0 << "PNG";
        QTest::newRow("PPM") << "PPM" << 0 << "PPM";
        QTest::newRow("PGM") << "PGM" << -2 << "PGM";
        QTest::newRow("PBM") << "PBM" << -3 << "PBM";
        QTest::newRow("DCX") << "DCX" << 0 << "DCX";
    }
    void roundTrip()
    {
        QFETCH(QString, ext);
        QFETCH(int, tolerance);
        for (const QSize size : {QSize(96, 64), QSize(1, 1)}) {
            const QImage picture = TestPicture(size.width(), size.height());
            const QString file = path(QStringLiteral("picture %1x%2.%3")
                                          .arg(size.width())
                                          .arg(size.height())
                                          .arg(ext.toLower()));
            QString error;
            QVERIFY2(PictureFile::write(picture, file, {ext, 90, {}, {}}, &error),
                     qPrintable(error));
            const PictureFile::Loaded back = PictureFile::read(file);
            QCOMPARE(back.failure, Failure::None);
            QTEST(back.coder, "coder");
            QCOMPARE(back.image.size(), size);
            QCOMPARE(back.image.format(), QImage::Format_RGB32);
            QVERIFY(!back.damaged);
            if (tolerance >= 0) {
                QCOMPARE(MaxDifference(back.image, picture), tolerance);
            } else if (tolerance == -1 && size.width() > 1) { // lossy: close on average
                QVERIFY(std::abs(Mean(back.image, 0) - Mean(picture, 0)) < 3);
                QVERIFY(MaxDifference(back.image, picture) > 0);
            } else if (tolerance == -2) { // grey levels of the picture
                const QRgb p = back.image.pixel(0, 0);
                QCOMPARE(qRed(p), qGreen(p));
                QVERIFY(std::abs(qGray(p) - qGray(picture.pixel(0, 0))) <= 3);
            } else if (tolerance == -3) { // black and white only
                for (int x = 0; x < size.width(); ++x) {
                    const QRgb p = back.image.pixel(x, 0);
                    QVERIFY(p == qRgb(0, 0, 0) || p == qRgb(255, 255, 255));
                }
            }
        }
    }

    void transparencySurvivesPng()
    {
        QImage picture = TestPicture().convertToFormat(QImage::Format_ARGB32);
        picture.setPixel(3, 3, qRgba(1, 2, 3, 0));
        QString error;
        QVERIFY2(PictureFile::write(picture, path("a.png"), {"PNG", 90, {}, {}}, &error),
                 qPrintable(error));
        const PictureFile::Loaded back = PictureFile::read(path("a.png"));
        QCOMPARE(back.image.format(), QImage::Format_ARGB32);
        QCOMPARE(qAlpha(back.image.pixel(3, 3)), 0);
    }

    void wpgIsReadOnly()
    {
        // A WordPerfect graphic of 8 x 8 pixels in two colours, one bit a pixel.
        QByteArray wpg("\xFFWPC\x10\0\0\0\x01\x16\x01\0\0\0\0\0", 16);
        wpg += QByteArray("\x0F\x06\x01\x00\x08\x00\x08\x00", 8);
        wpg += QByteArray("\x0B\x1A\x08\0\x08\0\x01\0\x4B\0\x4B\0", 12);
        for (const char row : {'\xF0', '\xF0', '\xF0', '\xF0', '\x0F', '\x0F', '\x0F', '\x0F'})
            wpg += QByteArray("\x01", 1) + row;
        wpg += QByteArray("\x10\x00", 2);
        QVERIFY(WriteBytes(path("drawing.wpg"), wpg));
        const PictureFile::Loaded read = PictureFile::read(path("drawing.wpg"));
        QCOMPARE(read.failure, Failure::None);
        QCOMPARE(read.coder, QStringLiteral("WPG"));
        QCOMPARE(read.image.size(), QSize(8, 8));
        QVERIFY(read.image.pixel(0, 0) != read.image.pixel(7, 0));
        QCOMPARE(read.image.pixel(0, 0), read.image.pixel(7, 7));

        QString error;
        QVERIFY(!PictureFile::write(read.image, path("copy.wpg"), {"WPG", 90, {}, {}}, &error));
        QVERIFY2(error.contains("WPG") && error.contains("not saved"), qPrintable(error));
        QVERIFY(!QFile::exists(path("copy.wpg")));
    }

    void metadataKept_data()
    {
        QTest::addColumn<QString>("ext");
        QTest::addColumn<bool>("exif");
        QTest::newRow("JPG") << "JPG" << true;
        QTest::newRow("PNG") << "PNG" << true;
        QTest::newRow("TIF") << "TIF" << false; // ImageMagick 6 writes no EXIF directory in TIFF
    }
    void metadataKept()
    {
        QFETCH(QString, ext);
        const PictureProfiles profiles = someProfiles();
        QString error;
        const QString file = path("meta." + ext.toLower());
        QVERIFY2(PictureFile::write(TestPicture(), file, {ext, 90, {}, profiles}, &error),
                 qPrintable(error));
        const PictureFile::Loaded back = PictureFile::read(file);
        QCOMPARE(back.failure, Failure::None);
        QCOMPARE(back.profiles.icc, profiles.icc);
        QVERIFY(back.profiles.xmp.contains("xmpmeta"));
        QFETCH(bool, exif);
        if (exif)
            QVERIFY(back.profiles.exif.contains("Nuvela"));

        // Asked to strip, nothing is written.
        QVERIFY(PictureFile::write(TestPicture(), file, {ext, 90, {}, {}}, &error));
        QVERIFY(PictureFile::read(file).profiles.isEmpty());
    }

    void pngStandardChunks()
    {
        // eXIf, a compressed iCCP and the XMP iTXt, as other programs write them.
        QByteArray png;
        QString error;
        QVERIFY(PictureFile::encode(TestPicture(), {"PNG", 90, {}, {}}, &png, &error));
        const PictureProfiles want = someProfiles();
        const QByteArray chunks =
            PngChunk("eXIf", want.exif) +
            PngChunk("iCCP", QByteArray("sRGB\0\0", 6) + qCompress(want.icc).mid(4)) +
            PngChunk("iTXt", QByteArray("XML:com.adobe.xmp\0\0\0\0\0", 22) + want.xmp);
        png.insert(8 + 25, chunks); // after the signature and IHDR
        QVERIFY(WriteBytes(path("others.png"), png));
        const PictureFile::Loaded read = PictureFile::read(path("others.png"));
        QCOMPARE(read.failure, Failure::None);
        QCOMPARE(read.profiles.exif, want.exif);
        QCOMPARE(read.profiles.icc, want.icc);
        QCOMPARE(read.profiles.xmp, want.xmp);
    }

    void cameraOrientationIsApplied_data()
    {
        QTest::addColumn<int>("orientation");
        QTest::addColumn<bool>("bigEndian");
        QTest::addColumn<QSize>("size");
        QTest::newRow("as stored") << 1 << false << QSize(60, 20);
        QTest::newRow("turned a quarter, Intel order") << 6 << false << QSize(20, 60);
        QTest::newRow("turned a quarter, Motorola order") << 8 << true << QSize(20, 60);
        QTest::newRow("upside down") << 3 << true << QSize(60, 20);
    }
    void cameraOrientationIsApplied()
    {
        QFETCH(int, orientation);
        QFETCH(bool, bigEndian);
        PictureProfiles profiles;
        profiles.exif = ExifWithOrientation(quint16(orientation), bigEndian);
        QCOMPARE(ExifOrientation::of(profiles.exif), orientation);
        QString error;
        QVERIFY(PictureFile::write(TestPicture(60, 20), path("camera.jpg"),
                                   {"JPG", 90, {}, profiles}, &error));
        const PictureFile::Loaded read = PictureFile::read(path("camera.jpg"));
        QTEST(read.image.size(), "size");
        // Upright now: the tag says so, the rest of the block is as the camera wrote it.
        QCOMPARE(ExifOrientation::of(read.profiles.exif), 1);
        QCOMPARE(read.profiles.exif, ExifOrientation::with(profiles.exif, 1));
        QVERIFY(read.profiles.exif.contains("Nuv"));
        if (orientation == 3) // the dark corner (top left) is now bottom right
            QVERIFY(qGray(read.image.pixel(59, 19)) < qGray(read.image.pixel(0, 0)));
    }

    void orientationOfOddBlocks()
    {
        QCOMPARE(ExifOrientation::of({}), 1);
        QCOMPARE(ExifOrientation::of("II*\0\xFF\xFF\0\0"), 1); // directory beyond the end
        QCOMPARE(ExifOrientation::of(ExifBlock()), 1);         // no orientation tag
        QCOMPARE(ExifOrientation::with(ExifBlock(), 1), ExifBlock());
        QCOMPARE(ExifOrientation::of(ExifWithOrientation(9)), 1); // out of range
    }

    void largeIccProfileIsChunked()
    {
        PictureProfiles p;
        p.icc = QByteArray(150000, 'i');
        p.exif = QByteArray(70000, 'e'); // too large for one segment: left out, file still valid
        QByteArray jpeg;
        QString error;
        QVERIFY(PictureFile::encode(TestPicture(), {"JPG", 90, {}, p}, &jpeg, &error));
        const PictureProfiles back = JpegMetadata::read(jpeg);
        QCOMPARE(back.icc, p.icc);
        QVERIFY(back.exif.isEmpty());
        QVERIFY(!QImage::fromData(jpeg).isNull());
    }

    void badFiles_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("name");
        QTest::addColumn<Failure>("failure");
        QByteArray jpeg;
        QString error;
        PictureFile::encode(TestPicture(), {"JPG", 90, {}, {}}, &jpeg, &error);
        QTest::newRow("empty file") << QByteArray() << "empty.jpg" << Failure::NotPicture;
        QTest::newRow("text named .jpg")
            << QByteArray("just some words\n") << "words.jpg" << Failure::NotPicture;
        QTest::newRow("JPEG cut inside its header")
            << jpeg.left(40) << "cut.jpg" << Failure::NotPicture;
        QTest::newRow("TIFF header only")
            << TiffHeaderOnly(40, 30) << "empty.tif" << Failure::NotPicture;
        QTest::newRow("20000 x 20000 PNG")
            << BombPng(20000, 20000) << "bomb.png" << Failure::TooLarge;
        QTest::newRow("TIFF claiming 20000 x 20000")
            << TiffHeaderOnly(20000, 20000) << "bomb.tif" << Failure::TooLarge;
    }
    void badFiles()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, name);
        QVERIFY(WriteBytes(path(name), content));
        const PictureFile::Loaded read = PictureFile::read(path(name));
        QTEST(read.failure, "failure");
        QVERIFY(read.image.isNull());
        if (read.failure == Failure::TooLarge) {
            QCOMPARE(read.size, QSize(20000, 20000));
            QVERIFY2(read.detail.contains("20000 \u00D7 20000") && read.detail.contains("100"),
                     qPrintable(read.detail));
        }
    }

    void bombJustBelowTheLimitOpens()
    {
        // 10000 x 10000 is exactly 100 megapixels: allowed.
        QVERIFY(WriteBytes(path("edge.png"), BombPng(10000, 10000)));
        const PictureFile::Loaded read = PictureFile::read(path("edge.png"));
        QCOMPARE(read.failure, Failure::None);
        QCOMPARE(read.image.size(), QSize(10000, 10000));
    }

    void truncatedJpegOpensWhatItCan()
    {
        QByteArray jpeg;
        QString error;
        QVERIFY(PictureFile::encode(TestPicture(400, 300), {"JPG", 90, {}, {}}, &jpeg, &error));
        QVERIFY(JpegMetadata::isComplete(jpeg));
        QVERIFY(WriteBytes(path("cut.jpg"), jpeg.left(jpeg.size() / 2)));
        const PictureFile::Loaded read = PictureFile::read(path("cut.jpg"));
        QCOMPARE(read.failure, Failure::None);
        QVERIFY(read.damaged);
        QCOMPARE(read.image.size(), QSize(400, 300));
        // Data after the end marker is no damage.
        QVERIFY(WriteBytes(path("tail.jpg"), jpeg + "trailing bytes"));
        QVERIFY(!PictureFile::read(path("tail.jpg")).damaged);
    }

    void wrongExtension()
    {
        // The content decides: a PNG named .jpg and a JPEG named .tga both open as what they are.
        QByteArray png, jpeg;
        QString error;
        QVERIFY(PictureFile::encode(TestPicture(), {"PNG", 90, {}, {}}, &png, &error));
        QVERIFY(PictureFile::encode(TestPicture(), {"JPG", 90, {}, {}}, &jpeg, &error));
        QVERIFY(WriteBytes(path("really png.jpg"), png));
        QVERIFY(WriteBytes(path("really jpeg.tga"), jpeg));
        QCOMPARE(PictureFile::read(path("really png.jpg")).coder, QStringLiteral("PNG"));
        QCOMPARE(PictureFile::read(path("really jpeg.tga")).coder, QStringLiteral("JPEG"));
        // A Targa file has no signature; named .png it is no picture.
        QVERIFY(PictureFile::write(TestPicture(), path("t.tga"), {"TGA", 90, {}, {}}, &error));
        QVERIFY(QFile::copy(path("t.tga"), path("t.png")));
        QCOMPARE(PictureFile::read(path("t.png")).failure, Failure::NotPicture);
    }

    void missingFile()
    {
        const PictureFile::Loaded read = PictureFile::read(path("nowhere.jpg"));
        QCOMPARE(read.failure, Failure::Unreadable);
        QVERIFY(!read.detail.isEmpty());
    }

    void readOnlyTargetIsLeftAlone()
    {
        const QString file = path("locked.png");
        QVERIFY(WriteBytes(file, "old"));
        QFile::setPermissions(file, QFileDevice::ReadOwner);
        QString error;
        QVERIFY(!PictureFile::write(TestPicture(), file, {"PNG", 90, {}, {}}, &error));
        QVERIFY2(error.contains("read-only"), qPrintable(error));
        QCOMPARE(ReadBytes(file), QByteArray("old"));
        QCOMPARE(entries(m_env->scratch()), QStringList{"locked.png"});

        QVERIFY(!PictureFile::write(TestPicture(), path("no folder/new.png"), {"PNG", 90, {}, {}},
                                    &error));
        if (geteuid() == 0)
            QSKIP("folder permissions do not bind the super-user");
        const QString folder = path("locked folder");
        QVERIFY(QDir().mkpath(folder));
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        QVERIFY(
            !PictureFile::write(TestPicture(), folder + "/new.png", {"PNG", 90, {}, {}}, &error));
        QVERIFY(entries(folder).isEmpty());
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                          QFileDevice::ExeOwner);
    }

    void failedEncodeLeavesTheOldFile()
    {
        const QString file = path("keep.tga");
        QVERIFY(WriteBytes(file, "old bytes"));
        ImagingModule::setPath(QStringLiteral("/nonexistent/nuvela-imaging"));
        QString error;
        QVERIFY(!PictureFile::write(TestPicture(), file, {"TGA", 90, {}, {}}, &error));
        QVERIFY2(error.contains("nuvela-imaging"), qPrintable(error));
        QCOMPARE(ReadBytes(file), QByteArray("old bytes"));
        QCOMPARE(entries(m_env->scratch()), QStringList{"keep.tga"});
    }

    void withoutTheModule()
    {
        QString error;
        QVERIFY(PictureFile::write(TestPicture(), path("a.tif"), {"TIF", 90, {}, {}}, &error));
        ImagingModule::setPath(QStringLiteral("/nonexistent/nuvela-imaging"));
        const PictureFile::Loaded tif = PictureFile::read(path("a.tif"));
        QCOMPARE(tif.failure, Failure::NeedsModule);
        QVERIFY(tif.detail.contains("nuvela-imaging"));
        // Qt's own types still open and save; PNG then carries no metadata.
        QVERIFY(PictureFile::write(TestPicture(), path("a.png"), {"PNG", 90, {}, someProfiles()},
                                   &error));
        QCOMPARE(PictureFile::read(path("a.png")).image.size(), QSize(96, 64));
        QVERIFY(PictureFile::write(TestPicture(), path("a.jpg"), {"JPG", 90, {}, someProfiles()},
                                   &error));
        QCOMPARE(PictureFile::read(path("a.jpg")).profiles.icc, someProfiles().icc);
    }

    void namesWithQuotesAndAccents()
    {
        const QString file = path("l'\u00E9t\u00E9 [1].tif");
        QString error;
        QVERIFY2(PictureFile::write(TestPicture(), file, {"TIF", 90, {}, {}}, &error),
                 qPrintable(error));
        QCOMPARE(PictureFile::read(file).image.size(), QSize(96, 64));
    }
};

QTEST_MAIN(tst_PictureFile)
#include "tst_PictureFile.moc"
