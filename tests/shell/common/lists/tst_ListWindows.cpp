#include "FileExportWindow.h"
#include "KeyedGridModel.h"
#include "ListPrintWindow.h"
#include "PrintPreviewRich.h"
#include "Screenshot.h"
#include "TestEnvironment.h"
#include "TestFiles.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>
#include <QToolButton>

// The export and print windows driven by their controls, and the rich-text preview.
class tst_ListWindows : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> m_env;

    static void fill(KeyedGridModel &grid, int rows)
    {
        grid.setFormatText(QStringLiteral("Name      |City      "));
        grid.appendRows(rows, [&grid](int row) {
            grid.setText(row, 0, QStringLiteral("Name %1").arg(row));
            grid.setText(row, 1, QStringLiteral("Köln"));
        });
    }

    template <typename T> static T *child(const QWidget &window, const char *name)
    {
        T *found = window.findChild<T *>(QLatin1String(name));
        if (!found)
            qFatal("no control %s", name);
        return found;
    }

private Q_SLOTS:
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup() { m_env.reset(); }

    void exportProposesTheTitleInTheFormatsFolder_data()
    {
        QTest::addColumn<int>("format");
        QTest::addColumn<QString>("relative");
        QTest::newRow("xlsx") << int(GridExport::Format::Xlsx)
                              << "Exported Files/Excel/01 Mar-2026 - a_b.xlsx";
        QTest::newRow("csv") << int(GridExport::Format::Csv)
                             << "Exported Files/Excel/01 Mar-2026 - a_b.csv";
        QTest::newRow("html") << int(GridExport::Format::Html)
                              << "Exported Files/TableHtml/01 Mar-2026 - a_b.html";
    }

    void exportProposesTheTitleInTheFormatsFolder()
    {
        QFETCH(int, format);
        QFETCH(QString, relative);
        KeyedGridModel grid;
        fill(grid, 3);
        FileExportWindow window(grid, QStringLiteral("01 Mar-2026 - a/b"));
        window.setFormat(GridExport::Format(format));
        QCOMPARE(window.path(), m_env->userFiles() + u'/' + relative);
        QVERIFY(window.exportNow());
        QCOMPARE(window.result(), int(QDialog::Accepted));
        QVERIFY(QFileInfo(window.path()).size() > 0);
        QVERIFY(m_env->platform().opened.isEmpty());
    }

    void exportAsksBeforeReplacingAndOpensWhenAsked()
    {
        KeyedGridModel grid;
        fill(grid, 2);
        const QString target = m_env->writeFile(QStringLiteral("out/list.csv"), "old");
        FileExportWindow window(grid, QStringLiteral("T"));
        window.setFormat(GridExport::Format::Csv);
        Screenshot(window, QStringLiteral("export-window"));
        m_env->dialogs().answerPath(target);
        child<QToolButton>(window, "cmdBrowse")->click();
        QCOMPARE(window.path(), target);
        m_env->dialogs().answerQuestion(false);
        QVERIFY(!window.exportNow());
        QCOMPARE(ReadBytes(target), QByteArray("old"));
        child<QCheckBox>(window, "chkOpen")->setChecked(true);
        m_env->dialogs().answerQuestion(true);
        QVERIFY(window.exportNow());
        QVERIFY(ReadBytes(target).contains("Name 1,Köln"));
        QCOMPARE(m_env->platform().opened, QStringList{target});
    }

    // A typed name without the format's extension gets it; a failure is told.
    void exportAddsTheExtensionAndReportsFailures()
    {
        KeyedGridModel grid;
        fill(grid, 1);
        FileExportWindow window(grid, QStringLiteral("T"));
        window.setFormat(GridExport::Format::Html);
        child<QLineEdit>(window, "txtFileName")->setText(m_env->scratch() + "/named");
        QVERIFY(window.exportNow());
        QVERIFY(QFileInfo::exists(m_env->scratch() + "/named.html"));

        const QString blocked = m_env->writeFile(QStringLiteral("file"), "x");
        child<QLineEdit>(window, "txtFileName")->setText(blocked + "/under.html");
        QVERIFY(!window.exportNow());
        QCOMPARE(m_env->dialogs().shown().last().icon, Dialogs::Icon::Critical);
        QVERIFY(m_env->dialogs().messages().last().startsWith("The file cannot be written:"));
    }

    void printWindowCountsPagesAndPrintsToPdf()
    {
        KeyedGridModel grid;
        fill(grid, 400);
        ListPrintWindow window(grid, QStringLiteral("Shops / 2026"));
        Screenshot(window, QStringLiteral("print-window"));
        const int portrait = child<QLabel>(window, "lblPages")->text().toInt();
        QVERIFY(portrait > 1);
        child<QComboBox>(window, "cboOrientation")->setCurrentIndex(1);
        QVERIFY(child<QLabel>(window, "lblPages")->text().toInt() > portrait);
        child<QSpinBox>(window, "spnFontSize")->setValue(18);
        const int large = child<QLabel>(window, "lblPages")->text().toInt();
        QVERIFY(large > portrait);

        m_env->dialogs().cancelNext();
        QVERIFY(!window.printToPdf());
        const QString pdf = m_env->scratch() + QStringLiteral("/list");
        m_env->dialogs().answerPath(pdf);
        QVERIFY(window.printToPdf());
        QVERIFY(ReadBytes(pdf + ".pdf").startsWith("%PDF"));
        QCOMPARE(m_env->dialogs().shown().last().folder,
                 m_env->userFiles() + "/Exported Files/PDF/Shops _ 2026.pdf");
    }

    void printPreviewShowsThePages()
    {
        KeyedGridModel grid;
        fill(grid, 400);
        ListPrintWindow window(grid, QStringLiteral("T"));
        QPrintPreviewDialog *preview = window.preview();
        auto *pages = preview->findChild<QPrintPreviewWidget *>();
        QVERIFY(pages);
        QTRY_VERIFY(pages->pageCount() > 1);
        Screenshot(*preview, QStringLiteral("print-preview"));
        QPointer<QPrintPreviewDialog> watched = preview;
        preview->close();
        QTRY_VERIFY(watched.isNull());
    }

    void richTextPreview_data()
    {
        QTest::addColumn<int>("orientation");
        QTest::newRow("portrait") << int(QPageLayout::Portrait);
        QTest::newRow("landscape") << int(QPageLayout::Landscape);
    }

    void richTextPreview()
    {
        QFETCH(int, orientation);
        auto document = std::make_unique<QTextDocument>();
        QTextCursor cursor(document.get());
        for (int i = 0; i < 200; ++i)
            cursor.insertText(QStringLiteral("Line %1\n").arg(i));
        QPrintPreviewDialog *preview = PrintPreviewRich(*document, QMarginsF(25, 25, 25, 25),
                                                        QPageLayout::Orientation(orientation));
        document.reset(); // the preview keeps its own copy
        auto *pages = preview->findChild<QPrintPreviewWidget *>();
        QTRY_VERIFY(pages->pageCount() >= 4);
        QCOMPARE(int(preview->printer()->pageLayout().orientation()), orientation);
        preview->close();
    }
};

QTEST_MAIN(tst_ListWindows)
#include "tst_ListWindows.moc"
