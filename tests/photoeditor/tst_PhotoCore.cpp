#include "DrawStyle.h"
#include "PhotoMessages.h"
#include "PhotoRules.h"
#include "PictureDocument.h"
#include "PicturePainter.h"
#include "TestEnvironment.h"
#include "TestFiles.h"
#include "TestPictures.h"
#include "UndoHistory.h"

#include <QTest>

using Slider = PhotoRules::Slider;
Q_DECLARE_METATYPE(Slider)

// The editor's rules without a window: sliders, zoom, status text, sizes, pen styles and draw
// modes, drawing, and undo within its memory budget.
class tst_PhotoCore : public QObject
{
    Q_OBJECT

    static QImage plain(QColor color, QImage::Format format = QImage::Format_RGB32)
    {
        QImage image(40, 30, format);
        image.fill(color);
        return image;
    }

private Q_SLOTS:
    void initTestCase() { UseBuiltImagingModule(); }

    void sliderSteps_data()
    {
        QTest::addColumn<Slider>("slider");
        QTest::addColumn<int>("previous");
        QTest::addColumn<int>("now");
        QTest::addColumn<Effect>("step");
        QTest::newRow("brighter by one") << Slider::Bright << 50 << 51 << Effect::Brighten;
        QTest::newRow("brighter by thirty is one step")
            << Slider::Bright << 51 << 80 << Effect::Brighten;
        QTest::newRow("darker") << Slider::Bright << 80 << 0 << Effect::Darken;
        QTest::newRow("more contrast") << Slider::Contrast << 50 << 100 << Effect::MoreContrast;
        QTest::newRow("less contrast") << Slider::Contrast << 50 << 49 << Effect::LessContrast;
        QTest::newRow("sharper") << Slider::Sharpen << 1 << 2 << Effect::SharpenStep;
        QTest::newRow("softer") << Slider::Sharpen << 50 << 10 << Effect::SoftenStep;
        QTest::newRow("same value counts as up")
            << Slider::Sharpen << 7 << 7 << Effect::SharpenStep;
    }
    void sliderSteps()
    {
        QFETCH(Slider, slider);
        QFETCH(int, previous);
        QFETCH(int, now);
        QTEST(PhotoRules::sliderStep(slider, previous, now), "step");
    }

    void zoom_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<bool>("fit");
        QTest::addColumn<double>("factor");
        QTest::addColumn<QString>("label");
        QTest::newRow("0 fits, label unchanged") << 0 << true << 1.0 << QString();
        QTest::newRow("1 is 100") << 1 << false << 1.0 << "100";
        QTest::newRow("3 is 300") << 3 << false << 3.0 << "300";
        QTest::newRow("-1 is 75") << -1 << false << 0.75 << "75";
        QTest::newRow("-2 is 50") << -2 << false << 0.5 << "50";
        QTest::newRow("-3 is 25") << -3 << false << 0.25 << "25";
    }
    void zoom()
    {
        QFETCH(int, value);
        const PhotoRules::Zoom z = PhotoRules::zoomOf(value);
        QTEST(z.fit, "fit");
        QTEST(z.factor, "factor");
        QTEST(z.label, "label");
        QCOMPARE(z.label.isNull(), z.fit);
    }

    void fitFactor()
    {
        QCOMPARE(PhotoRules::fitFactor({6000, 4000}, {600, 600}), 0.1);
        QCOMPARE(PhotoRules::fitFactor({100, 50}, {600, 600}), 1.0); // never enlarged
        QCOMPARE(PhotoRules::fitFactor({}, {600, 600}), 1.0);
    }

    void statusText()
    {
        QCOMPARE(PhotoRules::statusText({12, 34}, QColor(255, 128, 0)),
                 QStringLiteral("XY: 12, 34  RGB: 255, 128, 0"));
        QCOMPARE(PhotoRules::statusText({-1, 5}, std::nullopt), QStringLiteral("XY: -1, 5"));
    }

    void parseSize_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QSize>("size"); // invalid: refused
        QTest::newRow("x") << "800x600" << QSize(800, 600);
        QTest::newRow("spaced") << " 800 x 600 " << QSize(800, 600);
        QTest::newRow("times sign") << "800\u00D7600" << QSize(800, 600);
        QTest::newRow("percent") << "50%" << QSize(300, 200);
        QTest::newRow("fraction of a percent") << "12.5 %" << QSize(75, 50);
        QTest::newRow("zero") << "0x600" << QSize();
        QTest::newRow("too wide") << "16001x10" << QSize();
        QTest::newRow("percent to nothing") << "0.01%" << QSize();
        QTest::newRow("words") << "big" << QSize();
        QTest::newRow("negative") << "-5x5" << QSize();
    }
    void parseSize()
    {
        QFETCH(QString, text);
        QFETCH(QSize, size);
        const auto parsed = PhotoRules::parseSize(text, {600, 400});
        QCOMPARE(parsed.has_value(), size.isValid());
        if (parsed)
            QCOMPARE(*parsed, size);
    }

    void drawStyleValues()
    {
        const QList<std::pair<QString, int>> styles = {{"Transparent", 0}, {"Solid", 1},
                                                       {"Dash", 2},        {"Dot", 3},
                                                       {"Dash Dot", 4},    {"Dash Dot Dot", 5}};
        for (const auto &[text, value] : styles) {
            QCOMPARE(DrawStyle::byText(text)->kind, DrawStyle::Kind::PenStyle);
            QCOMPARE(DrawStyle::byText(text)->value, value);
        }
        const QList<std::pair<QString, int>> modes = {{"Blackness", 0},
                                                      {"Copy Pen", 13},
                                                      {"Mask Pen", 9},
                                                      {"Merge_Pen", 15},
                                                      {"Whitness", 16},
                                                      {"Inverse Of Mask Pen", 8},
                                                      {"Inverse Of Merge Pen", 2},
                                                      {"Inverse Of Copy Pen", 4},
                                                      {"Invert", 6},
                                                      {"XorPen", 7}};
        for (const auto &[text, value] : modes) {
            QCOMPARE(DrawStyle::byText(text)->kind, DrawStyle::Kind::DrawMode);
            QCOMPARE(DrawStyle::find(DrawStyle::Kind::DrawMode, value)->text, text);
        }
        QCOMPARE(DrawStyle::entries().size(), styles.size() + modes.size());
    }

    // Each draw mode on a grey picture with a pen of (200, 100, 50): the raster operation's
    // result, bit for bit.
    void drawModes_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QRgb>("expected");
        const int g = 0x60; // the picture's grey
        QTest::newRow("Blackness") << 0 << qRgb(0, 0, 0);
        QTest::newRow("Copy Pen") << 13 << qRgb(200, 100, 50);
        QTest::newRow("Mask Pen") << 9 << qRgb(200 & g, 100 & g, 50 & g);
        QTest::newRow("Merge_Pen") << 15 << qRgb(200 | g, 100 | g, 50 | g);
        QTest::newRow("Whitness") << 16 << qRgb(255, 255, 255);
        QTest::newRow("Inverse Of Mask Pen")
            << 8 << qRgb(~(200 & g) & 255, ~(100 & g) & 255, ~(50 & g) & 255);
        QTest::newRow("Inverse Of Merge Pen")
            << 2 << qRgb(~(200 | g) & 255, ~(100 | g) & 255, ~(50 | g) & 255);
        QTest::newRow("Inverse Of Copy Pen") << 4 << qRgb(55, 155, 205);
        QTest::newRow("Invert") << 6 << qRgb(255 - g, 255 - g, 255 - g);
        QTest::newRow("XorPen") << 7 << qRgb(200 ^ g, 100 ^ g, 50 ^ g);
    }
    void drawModes()
    {
        QFETCH(int, mode);
        QImage picture = plain(QColor(0x60, 0x60, 0x60));
        const QRect changed =
            PicturePainter::line(picture, {5, 10}, {30, 10}, {QColor(200, 100, 50), 1, 1, mode});
        QVERIFY(changed.contains(QPoint(20, 10)));
        QTEST(picture.pixel(20, 10) | 0xFF000000u, "expected");
        QCOMPARE(picture.pixel(20, 20), qRgb(0x60, 0x60, 0x60)); // off the line: untouched
    }

    void xorTwiceRestores()
    {
        const QImage before = TestPicture();
        QImage picture = before;
        const PicturePainter::Pen pen{QColor(200, 100, 50), 3, 1, 7};
        PicturePainter::ellipse(picture, {10, 10}, {60, 40}, pen);
        QVERIFY(picture != before);
        PicturePainter::ellipse(picture, {10, 10}, {60, 40}, pen);
        QCOMPARE(MaxDifference(picture, before), 0);
    }

    void penStyles()
    {
        QImage solid = plain(Qt::white), dashed = plain(Qt::white), none = plain(Qt::white);
        PicturePainter::line(solid, {0, 5}, {39, 5}, {Qt::black, 1, 1, 13});
        PicturePainter::line(dashed, {0, 5}, {39, 5}, {Qt::black, 1, 2, 13});
        PicturePainter::line(none, {0, 5}, {39, 5}, {Qt::black, 1, 0, 13});
        auto inked = [](const QImage &img) {
            int n = 0;
            for (int x = 0; x < img.width(); ++x)
                n += qGray(img.pixel(x, 5)) < 128;
            return n;
        };
        QCOMPARE(inked(solid), 40);
        QVERIFY(inked(dashed) > 10 && inked(dashed) < 35);
        QCOMPARE(inked(none), 0);
    }

    void eraser()
    {
        QImage opaque = plain(Qt::black);
        PicturePainter::erase(opaque, {5, 5}, {20, 5}, 4);
        QCOMPARE(opaque.pixel(12, 5), qRgb(255, 255, 255));
        QImage clear = plain(Qt::black, QImage::Format_ARGB32);
        PicturePainter::erase(clear, {5, 5}, {20, 5}, 4);
        QCOMPARE(qAlpha(clear.pixel(12, 5)), 0);
    }

    void textAndPaste()
    {
        QImage picture = plain(Qt::white);
        QFont font;
        font.setPixelSize(14);
        const QRect r = PicturePainter::text(picture, {2, 2}, "Hi", font, Qt::red);
        QVERIFY(r.contains(QPoint(4, 8)));
        QVERIFY(Mean(picture, 1) < 255); // something red was drawn
        QVERIFY(PicturePainter::text(picture, {2, 2}, QString(), font, Qt::red).isEmpty());
        const QRect p = PicturePainter::paste(picture, plain(Qt::blue), {30, 20});
        QCOMPARE(p, QRect(30, 20, 10, 10)); // clipped to the picture
        QCOMPARE(picture.pixel(35, 25), qRgb(0, 0, 255));
    }

    void undoRedoOrder()
    {
        UndoHistory history;
        const QImage a = plain(Qt::red), b = plain(Qt::green), c = plain(Qt::blue);
        QCOMPARE(history.record(a, "first"), 0);
        QCOMPARE(history.record(b, "second"), 0);
        QCOMPARE(history.undoText(), QStringLiteral("second"));
        QCOMPARE(history.undo(c), b);
        QCOMPARE(history.redoText(), QStringLiteral("second"));
        QCOMPARE(history.undo(b), a);
        QVERIFY(!history.canUndo());
        QVERIFY(history.undo(a).isNull());
        QCOMPARE(history.redo(a), b);
        QCOMPARE(history.redo(b), c);
        QVERIFY(!history.canRedo());
        // A new change after an undo forgets what could be redone.
        history.undo(c);
        history.record(b, "third");
        QVERIFY(!history.canRedo());
    }

    void budgetDropsOldestSteps()
    {
        const QImage step = plain(Qt::red); // 40 x 30 x 4 bytes
        const qint64 size = step.sizeInBytes();
        UndoHistory history(size * 3);
        QCOMPARE(history.record(plain(Qt::red), "1"), 0);
        QCOMPARE(history.record(plain(Qt::green), "2"), 0);
        QCOMPARE(history.record(plain(Qt::blue), "3"), 0);
        QCOMPARE(history.record(plain(Qt::black), "4"), 1);
        QCOMPARE(history.undoCount(), 3);
        QVERIFY(history.bytes() <= history.budget());
        // The oldest went: undoing three times ends at step 2's picture.
        QImage shown = plain(Qt::white);
        for (int i = 0; i < 3; ++i)
            shown = history.undo(shown);
        QCOMPARE(shown.pixel(0, 0), qRgb(0, 255, 0));
        QVERIFY(history.bytes() <= history.budget());
    }

    void fiftyEditsOfA24MegapixelPhotoStayWithinBudget()
    {
        // Shared pictures cost no memory here; the budget counts each step as if it did, so a
        // small stand-in of 24 MP in size accounting is enough: 6000 x 4000 x 4 bytes each.
        QImage photo(6000, 4000, QImage::Format_RGB32);
        photo.fill(Qt::gray);
        UndoHistory history;
        int dropped = 0;
        for (int i = 0; i < 50; ++i)
            dropped += history.record(photo, QString::number(i));
        QVERIFY(history.bytes() <= UndoHistory::DefaultBudget);
        QCOMPARE(history.undoCount(), int(UndoHistory::DefaultBudget / photo.sizeInBytes()));
        QCOMPARE(dropped, 50 - history.undoCount());
    }

    void pictureLargerThanBudgetKeepsNothing()
    {
        UndoHistory history(100);
        QCOMPARE(history.record(plain(Qt::red), "big"), 1);
        QVERIFY(!history.canUndo());
        QCOMPARE(history.bytes(), 0);
    }

    void documentEditsUndo()
    {
        TestEnvironment env;
        const QString file = env.scratch() + "/p.png";
        QVERIFY(TestPicture().save(file));
        PictureDocument doc;
        QCOMPARE(doc.open(file).failure, PictureFile::Failure::None);
        QCOMPARE(doc.path(), file);
        const QImage original = doc.image();
        doc.beginEdit("Pencil");
        PicturePainter::line(doc.pixels(), {0, 0}, {50, 50}, {Qt::red, 3, 1, 13});
        QVERIFY(doc.image() != original);
        doc.restoreEditStart();
        QCOMPARE(doc.image(), original); // the text tool redraws from the edit's start
        PicturePainter::line(doc.pixels(), {0, 0}, {50, 50}, {Qt::red, 3, 1, 13});
        const QImage drawn = doc.image();
        doc.change(doc.image().mirrored(true, false), "Mirror");
        QVERIFY(doc.undo());
        QCOMPARE(doc.image(), drawn);
        QVERIFY(doc.undo());
        QCOMPARE(doc.image(), original);
        QVERIFY(!doc.undo());
        QVERIFY(doc.redo());
        QCOMPARE(doc.image(), drawn);

        // A failed open leaves the document as it was.
        QVERIFY(WriteBytes(env.scratch() + "/bad.jpg", "nope"));
        QCOMPARE(doc.open(env.scratch() + "/bad.jpg").failure, PictureFile::Failure::NotPicture);
        QCOMPARE(doc.path(), file);
        QCOMPARE(doc.image(), drawn);
        QVERIFY(doc.history().canUndo());
    }

    void errorNumbers()
    {
        QCOMPARE(PhotoMessages::forError(1020), QStringLiteral("Select to Cut/Copy/Paste."));
        QCOMPARE(PhotoMessages::forError(321), QStringLiteral("This is not a valid picture."));
        QCOMPARE(PhotoMessages::forError(481), QStringLiteral("This is not a valid picture."));
        QCOMPARE(PhotoMessages::forError(5), PhotoMessages::Failed);
        QVERIFY(PhotoMessages::forError(6).isEmpty());
    }
};

QTEST_MAIN(tst_PhotoCore)
#include "tst_PhotoCore.moc"
