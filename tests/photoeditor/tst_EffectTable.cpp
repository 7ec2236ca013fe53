#include "EffectTable.h"
#include "ImagingEngine.h"
#include "ImagingModule.h"
#include "TestPictures.h"

#include <QSet>
#include <QTest>

// Every picture command runs and changes the picture in the way its name promises; the Qt
// commands give what ImageMagick gives; previews scale lengths; a cancel changes nothing.
class tst_EffectTable : public QObject
{
    Q_OBJECT

    static QImage run(const QImage &picture, const EffectRequest &request, double scale = 1.0)
    {
        QImage result;
        QString error;
        if (!EffectTable::apply(picture, request, &result, &error, {}, scale))
            qWarning("%s", qPrintable(error));
        return result;
    }
    static QImage run(Effect effect, const QImage &picture = TestPicture())
    {
        return run(picture, EffectTable::request(effect, QColor(255, 0, 0)));
    }

private Q_SLOTS:
    void initTestCase() { UseBuiltImagingModule(); }

    void tableIsComplete()
    {
        QSet<Effect> seen;
        QSet<QString> headings;
        for (const EffectTable::Entry &e : EffectTable::entries()) {
            QVERIFY2(!seen.contains(e.effect), qPrintable(e.name));
            seen.insert(e.effect);
            QVERIFY2(!e.meaning.isEmpty(), qPrintable(e.name));
            QVERIFY(e.strength.initial >= e.strength.minimum);
            QVERIFY(e.strength.initial <= e.strength.maximum);
            QCOMPARE(e.qt != nullptr, e.engine == EffectTable::Engine::Qt);
            if (e.strength.maximum > e.strength.minimum)
                headings.insert(e.name);
        }
        QCOMPARE(seen.size(), int(Effect::Sepia) + 1);
        // The effects window's headings: each effect tool of the tool bars has one.
        for (const char *tool : {"Negative", "Solarize", "Blur", "Emboss", "Ripple", "Parabolic",
                                 "Pinch", "PSize", "Soften", "Swirl", "Blend", "Noise", "Rotate"})
            QVERIFY2(EffectTable::byName(tool).has_value(), tool);
        QVERIFY(!EffectTable::byName("Sharpen ").has_value());
    }

    // Every entry, on the same picture: it runs, answers a picture and changes it.
    void everyEntryRunsAndChanges()
    {
        const QImage picture = TestPicture();
        for (const EffectTable::Entry &e : EffectTable::entries()) {
            EffectRequest request = EffectTable::request(e.effect, QColor(255, 0, 0));
            if (e.effect == Effect::ResizeTo)
                request.values = {50, 20};
            if (e.effect == Effect::HueSaturation)
                request.values = {100, 30, 150};
            const QImage result = run(picture, request);
            QVERIFY2(!result.isNull(), qPrintable(e.name));
            QVERIFY2(result.format() == QImage::Format_RGB32, qPrintable(e.name));
            QVERIFY2(result != picture, qPrintable(e.name));
        }
    }

    void sizes_data()
    {
        QTest::addColumn<Effect>("effect");
        QTest::addColumn<QSize>("size");
        QTest::newRow("rotate 90 swaps width and height") << Effect::Rotate90 << QSize(64, 96);
        QTest::newRow("rotate by the window's 90 swaps too") << Effect::Rotate << QSize(64, 96);
        QTest::newRow("crop trims 10+15 % across, 15+30 % down") << Effect::Crop << QSize(73, 36);
        QTest::newRow("resize to 30 % by 40 %") << Effect::Resize << QSize(29, 26);
        QTest::newRow("tile makes 640 x 480") << Effect::Tile << QSize(640, 480);
        QTest::newRow("ripple keeps the size") << Effect::Ripple << QSize(96, 64);
        QTest::newRow("swirl keeps the size") << Effect::Swirl << QSize(96, 64);
        QTest::newRow("pixelate keeps the size") << Effect::PSize << QSize(96, 64);
        QTest::newRow("flip keeps the size") << Effect::Flip << QSize(96, 64);
    }
    void sizes()
    {
        QFETCH(Effect, effect);
        QTEST(run(effect).size(), "size");
    }

    void exactGeometry()
    {
        const QImage p = TestPicture();
        const QImage flipped = run(Effect::Flip, p), mirrored = run(Effect::Mirror, p);
        const QImage turned = run(Effect::Rotate90, p), cropped = run(Effect::Crop, p);
        for (const QPoint at : {QPoint(0, 0), QPoint(32, 5), QPoint(95, 63), QPoint(50, 40)}) {
            QCOMPARE(flipped.pixel(at.x(), 63 - at.y()), p.pixel(at));
            QCOMPARE(mirrored.pixel(95 - at.x(), at.y()), p.pixel(at));
            // Clockwise: the top-left corner goes to the top-right.
            QCOMPARE(turned.pixel(63 - at.y(), at.x()), p.pixel(at));
        }
        QCOMPARE(cropped.pixel(0, 0), p.pixel(9, 9)); // 10 % of 96, 15 % of 64
    }

    // Qt stands in for ImageMagick in these rows: it must give what ImageMagick gives.
    void qtRowsMatchImageMagick_data()
    {
        QTest::addColumn<Effect>("effect");
        QTest::addColumn<int>("tolerance");
        QTest::newRow("flip") << Effect::Flip << 0;
        QTest::newRow("mirror") << Effect::Mirror << 0;
        QTest::newRow("rotate 90") << Effect::Rotate90 << 0;
        QTest::newRow("crop") << Effect::Crop << 0;
    }
    void qtRowsMatchImageMagick()
    {
        QFETCH(Effect, effect);
        ImagingEngine *engine = ImagingModule::engine();
        QVERIFY(engine);
        const QImage p = TestPicture();
        QImage magick;
        QString error;
        QVERIFY2(engine->apply(p, EffectTable::call(EffectTable::request(effect), p.size()),
                               &magick, {}, &error),
                 qPrintable(error));
        QFETCH(int, tolerance);
        QVERIFY(MaxDifference(run(effect, p), magick) <= tolerance);
    }

    void tones()
    {
        const QImage p = TestPicture();
        const QImage negative = run(Effect::Negative, p);
        QCOMPARE(negative.pixel(10, 10),
                 qRgb(255 - qRed(p.pixel(10, 10)), 255 - qGreen(p.pixel(10, 10)), 215));
        QVERIFY(Mean(run(Effect::Brighten, p), 1) > Mean(p, 1) + 10);
        QVERIFY(Mean(run(Effect::Darken, p), 1) < Mean(p, 1) - 10);
        QVERIFY(Spread(run(Effect::MoreContrast, p)) > Spread(p));
        QVERIFY(Spread(run(Effect::LessContrast, p)) < Spread(p));
        QVERIFY(Mean(run(Effect::Blend, p), 0) > Mean(p, 0) + 10); // blended with red
        const QImage grey = run(Effect::Grayscale, p);
        QCOMPARE(qRed(grey.pixel(70, 20)), qGreen(grey.pixel(70, 20)));
        QCOMPARE(qGreen(grey.pixel(70, 20)), qBlue(grey.pixel(70, 20)));
        const QImage sepia = run(Effect::Sepia, p);
        QVERIFY(qRed(sepia.pixel(70, 50)) >= qBlue(sepia.pixel(70, 50)));
        // Solarize inverts the bright white line and leaves the dark black line.
        const QImage solar = run(Effect::Solarize, p);
        QVERIFY(qGray(solar.pixel(5, 42)) < 60);
        QCOMPARE(solar.pixel(32, 5), p.pixel(32, 5));
        EffectRequest grey0{Effect::HueSaturation, {100, 0, 100}, {}};
        const QImage unsaturated = run(p, grey0);
        QVERIFY(std::abs(qRed(unsaturated.pixel(90, 5)) - qGreen(unsaturated.pixel(90, 5))) <= 1);
    }

    void sharpness_data()
    {
        QTest::addColumn<Effect>("effect");
        QTest::addColumn<bool>("sharper");
        QTest::newRow("blur") << Effect::Blur << false;
        QTest::newRow("soften") << Effect::Soften << false;
        QTest::newRow("soften with fixed values") << Effect::SoftenFixed << false;
        QTest::newRow("soften step") << Effect::SoftenStep << false;
        QTest::newRow("sharpen step") << Effect::SharpenStep << true;
        QTest::newRow("noise") << Effect::Noise << true;
    }
    void sharpness()
    {
        QFETCH(Effect, effect);
        const QImage p = TestPicture();
        QFETCH(bool, sharper);
        QCOMPARE(Detail(run(effect, p)) > Detail(p), sharper);
    }

    void matrixSmearsAcrossOnly()
    {
        // The middle-row kernel blurs the vertical black line and leaves the white row sharp.
        const QImage p = TestPicture(), m = run(Effect::Matrix, p);
        QVERIFY(Detail(m, true) < Detail(p, true) * 0.9);
        QVERIFY(qGray(m.pixel(5, 42)) > 240);
    }

    void pixelateMakesBlocks()
    {
        const QImage p = run(Effect::PSize);
        // Blocks of 8: the pixels of one block are equal.
        QCOMPARE(p.pixel(16, 16), p.pixel(23, 23));
        QVERIFY(p.pixel(16, 16) != p.pixel(24, 16));
    }

    void distortionsLeaveTheCorners_data()
    {
        QTest::addColumn<Effect>("effect");
        QTest::newRow("swirl") << Effect::Swirl;
        QTest::newRow("twist") << Effect::Twist;
        QTest::newRow("pinch") << Effect::Pinch;
        QTest::newRow("parabolic") << Effect::Parabolic;
    }
    void distortionsLeaveTheCorners()
    {
        QFETCH(Effect, effect);
        const QImage p = TestPicture(), d = run(effect, p);
        QVERIFY(MaxDifference(d.copy(0, 0, 3, 3), p.copy(0, 0, 3, 3)) <= 2);
        QVERIFY(MaxDifference(d.copy(24, 16, 24, 32), p.copy(24, 16, 24, 32)) > 20);
    }

    void previewScalesLengths()
    {
        EffectRequest blur = EffectTable::request(Effect::Blur);
        blur.values = {10};
        QCOMPARE(EffectTable::call(blur, {100, 100}, 1.0).args.value(1), 10.0);
        QCOMPARE(EffectTable::call(blur, {100, 100}, 0.25).args.value(1), 2.5);
        // Angles and percents are no lengths.
        EffectRequest swirl = EffectTable::request(Effect::Swirl);
        QCOMPARE(EffectTable::call(swirl, {100, 100}, 0.25).args.value(0), 180.0);
        // The fixed numbers keep their stated meaning.
        QCOMPARE(EffectTable::call(EffectTable::request(Effect::Twist), {1, 1}).args.value(0),
                 120.0);
        QCOMPARE(EffectTable::call(EffectTable::request(Effect::Tile), {1, 1}).args,
                 (QList<double>{640, 480, 320, 240}));
    }

    // Large pictures go through ImageMagick in bands of rows (2 megapixels each): at each seam a
    // band borrows its neighbours' rows, so the seams must not show. The reference is the top
    // of the picture in one piece, small enough not to be split.
    void bandsLeaveNoSeams_data()
    {
        QTest::addColumn<Effect>("effect");
        QTest::addColumn<int>("strength");
        QTest::newRow("blur sigma 3") << Effect::Blur << 3;
        QTest::newRow("blur sigma 20") << Effect::Blur << 20;
        QTest::newRow("sharpen") << Effect::SharpenStep << 0;
        QTest::newRow("3 x 3 kernel") << Effect::Matrix << 0;
        QTest::newRow("brightness") << Effect::Brighten << 0;
    }
    void bandsLeaveNoSeams()
    {
        QFETCH(Effect, effect);
        QFETCH(int, strength);
        QImage tall(4000, 1200, QImage::Format_RGB32); // bands of 500 rows
        quint32 seed = 1;
        for (int y = 0; y < tall.height(); ++y) {
            auto *line = reinterpret_cast<QRgb *>(tall.scanLine(y));
            for (int x = 0; x < tall.width(); ++x) {
                seed = seed * 1664525u + 1013904223u;
                line[x] = qRgb(seed >> 24, (x + y) & 255, (seed >> 8) & 255);
            }
        }
        EffectRequest request = EffectTable::request(effect);
        if (strength > 0)
            request.values = {strength};
        const QImage whole = run(tall.copy(0, 0, 4000, 740), request); // one piece
        const QImage banded = run(tall, request);
        QCOMPARE(MaxDifference(banded.copy(0, 0, 4000, 620), whole.copy(0, 0, 4000, 620)), 0);
        QVERIFY(banded != tall);
    }

    void cancelChangesNothing()
    {
        const QImage p = TestPicture(400, 300);
        QImage result;
        QString error;
        QVERIFY(!EffectTable::apply(p, EffectTable::request(Effect::Blur), &result, &error,
                                    [] { return true; }));
        QVERIFY(error.isEmpty());
        QVERIFY(result.isNull());
    }

    void transparencyIsKept()
    {
        QImage p = TestPicture().convertToFormat(QImage::Format_ARGB32);
        p.setPixel(0, 0, qRgba(10, 20, 30, 0));
        const QImage r = run(Effect::Negative, p);
        QCOMPARE(r.format(), QImage::Format_ARGB32);
        QCOMPARE(qAlpha(r.pixel(0, 0)), 0);
        QCOMPARE(qAlpha(r.pixel(5, 5)), 255);
    }

    void withoutTheModule()
    {
        ImagingModule::setPath(QStringLiteral("/nonexistent/nuvela-imaging"));
        QImage result;
        QString error;
        QVERIFY(!EffectTable::apply(TestPicture(), EffectTable::request(Effect::Swirl), &result,
                                    &error));
        QVERIFY2(error.contains("nuvela-imaging"), qPrintable(error));
        // Qt's commands need no module.
        QCOMPARE(run(Effect::Rotate90).size(), QSize(64, 96));
        UseBuiltImagingModule();
        QVERIFY(ImagingModule::engine());
    }
};

QTEST_MAIN(tst_EffectTable)
#include "tst_EffectTable.moc"
