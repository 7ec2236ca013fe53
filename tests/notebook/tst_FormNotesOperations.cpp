#include "FormNotes.h"

#include "DesktopEntry.h"
#include "KeyedGrid.h"
#include "ListDocument.h"
#include "NotesCatalogue.h"
#include "OfficeTools.h"
#include "RecordingToolHost.h"
#include "Screenshot.h"
#include "SharedRoutines.h"
#include "Store.h"
#include "TestEnvironment.h"
#include "TestTrash.h"
#include "ToolStrip.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPrintPreviewDialog>
#include <QProcess>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTest>
#include <QTextEdit>
#include <QToolButton>
#include <QUrl>

namespace
{

QByteArray rtf(const QByteArray &body)
{
    return "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 " + body + "}";
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

template <typename T> T *child(const QWidget &window, const char *name)
{
    T *found = window.findChild<T *>(QLatin1String(name));
    if (!found)
        qFatal("no control %s", name);
    return found;
}

} // namespace

// The notebook window's operations on document files, as a user runs them: tree tools,
// document tools, the add, delete-all and properties panels; each checked on the disk, in the
// catalogue, in the grid and in the tree.
class tst_FormNotesOperations : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<TestTrash> m_trash;
    QString m_docs;

    QString addDocument(const QString &file, const QByteArray &bytes, const QString &docType,
                        const QString &link = QString())
    {
        // Null bytes: the file is there already (a picture).
        const QString path =
            bytes.isNull() ? m_docs + u'/' + file : m_env->writeFile("desktop/docs/" + file, bytes);
        Store store(Store::Kind::Data);
        NotesCatalogue catalogue(store);
        DocumentRecord record = NotesCatalogue::linkRecord(path);
        record.docType = docType;
        record.picFileLink = link;
        record.category1 = "Home";
        if (!catalogue.writeRow(record))
            qFatal("row not written");
        return path;
    }

    QString addPicture(const QString &file)
    {
        QImage picture(40, 30, QImage::Format_RGB32);
        picture.fill(Qt::darkGreen);
        const QString path = m_docs + u'/' + file;
        QDir().mkpath(m_docs);
        picture.save(path);
        return path;
    }

    static QStringList names(const FormNotes &window)
    {
        QStringList values;
        for (int row = window.grid()->fixedRows(); row < window.grid()->rows(); ++row)
            values << window.grid()->text(row, "DocumentName");
        return values;
    }

    static void select(FormNotes &window, const QString &name)
    {
        window.finishLoading();
        for (int row = window.grid()->fixedRows(); row < window.grid()->rows(); ++row) {
            if (window.grid()->text(row, "DocumentName") == name) {
                child<KeyedGrid>(window, "grid1")->setCurrentGridRow(row);
                return;
            }
        }
        QFAIL(qPrintable(name));
    }

    static void trigger(FormNotes &window, const QString &id)
    {
        QVERIFY2(window.runTool(id), qPrintable(id));
    }

    static QStringList rowPaths()
    {
        return Store(Store::Kind::Data).column("select path from nv_notesdairy1 order by path");
    }

private Q_SLOTS:
    void init()
    {
        m_env = std::make_unique<TestEnvironment>();
        m_trash = std::make_unique<TestTrash>();
        m_docs = m_env->scratch() + "/desktop/docs";
    }
    void cleanup()
    {
        m_trash.reset();
        m_env.reset();
    }

    void treeCommandsKeepDiskTreeAndGridInStep()
    {
        const QString shopping = addDocument("Shopping.rtf", rtf("milk"), "Notes");
        FormNotes window;
        Screenshot(window, "notebook-operations", QSize(1240, 780));
        QVERIFY(window.selectTreePath(m_docs));
        m_env->dialogs().answerInput("Pläne 100%");
        trigger(window, "ID_NewFolder");
        const QString folder = m_docs + "/Pläne 100%";
        QVERIFY(QFileInfo(folder).isDir());
        QCOMPARE(window.currentNodePath(), folder);

        // A copied file arrives with its row, and the grid lists both.
        QVERIFY(window.selectTreePath(shopping));
        trigger(window, "ID_Copy");
        QVERIFY(window.selectTreePath(folder));
        trigger(window, "ID_Paste");
        const QString copy = folder + "/Shopping.rtf";
        QCOMPARE(readAll(copy), rtf("milk"));
        QCOMPARE(window.currentNodePath(), copy);
        QCOMPARE(names(window), (QStringList{"Shopping", "Shopping"}));

        // The renamed folder takes its rows with it; the tree shows it under its new name.
        QVERIFY(window.selectTreePath(folder));
        m_env->dialogs().answerInput("Plans");
        trigger(window, "ID_Rename");
        QCOMPARE(window.currentNodePath(), m_docs + "/Plans");
        QCOMPARE(rowPaths(), (QStringList{m_docs + "/Plans/Shopping.rtf", shopping}));

        // Cut and pasted into another folder, then deleted to the trash.
        QDir().mkpath(m_docs + "/Archive");
        trigger(window, "ID_Cut");
        window.FileSystemTree();
        QVERIFY(window.selectTreePath(m_docs + "/Archive"));
        trigger(window, "ID_Paste");
        QCOMPARE(rowPaths(), (QStringList{m_docs + "/Archive/Plans/Shopping.rtf", shopping}));
        QVERIFY(!QFileInfo::exists(m_docs + "/Plans"));
        QVERIFY(!child<ToolStrip>(window, "tbTree")->tool("ID_Paste")->isEnabled());
        m_env->dialogs().answerQuestion(true);
        trigger(window, "ID_Delete");
        QCOMPARE(m_trash->trashed(), QStringList{"Plans"});
        QCOMPARE(rowPaths(), QStringList{shopping});
        QCOMPARE(names(window), QStringList{"Shopping"});
        QCOMPARE(window.currentNodePath(), m_docs + "/Archive");
        // "EditFolder" renames the grid's document and shows it under its new name.
        select(window, "Shopping");
        m_env->dialogs().answerInput("Einkäufe");
        trigger(window, "EditFolder");
        QCOMPARE(rowPaths(), QStringList{m_docs + "/Einkäufe.rtf"});
        QCOMPARE(window.currentDocumentPath(), m_docs + "/Einkäufe.rtf");
        QCOMPARE(child<QTextEdit>(window, "rtfText")->toPlainText(), "milk");
    }

    void theRootRefusesRenameDeleteAndCut()
    {
        FormNotes window;
        QVERIFY(window.selectTreePath(m_env->scratch() + "/desktop"));
        QCOMPARE(window.currentNodeTag(), FolderTree::Tag::Main);
        for (const char *id : {"ID_Rename", "ID_Delete", "ID_Cut"})
            QVERIFY2(!window.runTool(QLatin1String(id)), id);
        QVERIFY(window.runTool("ID_Copy"));
        QStringList menu; // the pop-up menu offers the tree's tools
        for (const QAction *action : child<QMenu>(window, "mnuTree")->actions())
            menu << action->objectName();
        menu.removeAll(QString());
        QCOMPARE(menu, (QStringList{"ID_NewFolder", "ID_NewFile", "ID_Copy", "ID_Cut", "ID_Paste",
                                    "ID_Rename", "ID_Delete"}));
        // "ID_NewFile" starts a note whose save is offered in the chosen folder.
        QVERIFY(window.runTool("ID_NewFile"));
        m_env->dialogs().answerPath(QString());
        QVERIFY(!window.SaveInPlace());
        QVERIFY(
            m_env->dialogs().shown().last().folder.startsWith(m_env->scratch() + "/desktop/Note "));
        window.CancelInPlace();
    }

    void propertiesSaveRenamesTheFile_data()
    {
        QTest::addColumn<bool>("save");
        QTest::newRow("saved") << true;
        QTest::newRow("cancelled") << false;
    }

    void propertiesSaveRenamesTheFile()
    {
        QFETCH(bool, save);
        const QString note = addDocument("note.rtf", rtf("text"), "Notes");
        FormNotes window;
        select(window, "note");
        child<QTabWidget>(window, "SSActiveTabs2")->setCurrentIndex(1);
        auto *edit = child<QToolButton>(window, "CmdEdit");
        QVERIFY(edit->isEnabled());
        edit->click();
        QVERIFY(window.isEditingProperties());
        QCOMPARE(child<QLabel>(window, "lblMode")->text(), "Edit Mode");
        QVERIFY(!child<KeyedGrid>(window, "grid1")->isEnabled());
        Screenshot(window, "notebook-properties", QSize(1240, 780));
        child<QLineEdit>(window, "LblDocName")->setText("Brief an O'Brien");
        child<QComboBox>(window, "CmbCategory1")->setCurrentText("Work");
        child<QLineEdit>(window, "LblSNo")->setText("42");
        child<QCheckBox>(window, "ChkCurrent")->setChecked(true);
        child<QToolButton>(window, save ? "CmdSave" : "CmdCancel")->click();
        QVERIFY(!window.isEditingProperties());
        QCOMPARE(child<QLabel>(window, "lblMode")->text(), "View Mode");
        QVERIFY(child<KeyedGrid>(window, "grid1")->isEnabled());
        const QString renamed = m_docs + "/Brief an O'Brien.RTF";
        QCOMPARE(rowPaths(), QStringList{save ? renamed : note});
        QCOMPARE(QFileInfo::exists(note), !save);
        QCOMPARE(QFileInfo::exists(renamed), save);
        QCOMPARE(names(window), QStringList{save ? "Brief an O'Brien" : "note"});
        QCOMPARE(child<QLineEdit>(window, "LblDocName")->text(),
                 save ? "Brief an O'Brien" : "note");
        QCOMPARE(child<QComboBox>(window, "CmbCategory1")->currentText(), save ? "Work" : "Home");
        QCOMPARE(window.currentDocumentPath(), save ? renamed : note);
        QCOMPARE(m_env->platform().sounds.last(),
                 SoundCuePath(save ? SoundCue::Save : SoundCue::Cancel));
    }

    // The add panel adds a row, "SelectAll" and "ID_DelDoc" delete the chosen documents, and the
    // delete-all panel removes every row but no file.
    void panelsAddAndRemoveRows()
    {
        addDocument("a's.rtf", rtf("a"), "Notes");
        addDocument("b.rtf", rtf("b"), "Notes");
        const QString file = m_env->writeFile("desktop/docs/tax 100%.txt", "9");
        FormNotes window;
        trigger(window, "AddDocument");
        auto *panel = child<QGroupBox>(window, "Frame2");
        QCOMPARE(child<QComboBox>(window, "cboCategory1")->itemText(0), "Home");
        Screenshot(window, "notebook-add-panel", QSize(1240, 780));
        QVERIFY(!window.SSCommand6_Click()); // no name: the panel stays
        QVERIFY(panel->isVisibleTo(&window));
        child<QLineEdit>(window, "txtnote")->setText("Taxes «2026»");
        child<QLineEdit>(window, "txtpath")->setText(file);
        child<QToolButton>(window, "SSCommand6")->click();
        QVERIFY(!panel->isVisibleTo(&window));
        QCOMPARE(names(window), (QStringList{"a's", "b", "Taxes «2026»"}));

        select(window, "b");
        trigger(window, "SelectAll");
        child<KeyedGrid>(window, "grid1")
            ->selectionModel()
            ->select(child<KeyedGrid>(window, "grid1")->model()->index(2, 0),
                     QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
        m_env->dialogs().answerQuestion(true);
        trigger(window, "ID_DelDoc");
        QCOMPARE(m_trash->trashed(), (QStringList{"a's.rtf", "b.rtf"}));
        QCOMPARE(names(window), QStringList{"Taxes «2026»"});
        QCOMPARE(window.pane(), FormNotes::Pane::None);

        trigger(window, "DeleteAll");
        QCOMPARE(child<QLabel>(window, "lblDeleteAll")->text(),
                 QStringLiteral("This will delete all links of text files from Nuvela Notebook "
                                "Program. However original files will remain as it is in there "
                                "original location."));
        Screenshot(window, "notebook-delete-all", QSize(1240, 780));
        m_env->dialogs().answerQuestion(true);
        m_env->dialogs().answerQuestion(true);
        child<QToolButton>(window, "CmdRemove")->click();
        QCOMPARE(names(window), QStringList());
        QCOMPARE(rowPaths(), QStringList());
        QCOMPARE(readAll(file), QByteArray("9"));
    }

    void desktopAndPrintTools()
    {
        const QString note = addDocument("Über 100%.rtf", rtf("Gr\\'fc\\'dfe {\\b bold}"), "Notes");
        FormNotes window;
        QVERIFY(!window.runTool("ID_PrintSelected")); // nothing shown yet
        select(window, "Über 100%");
        trigger(window, "CopytoDesktop");
        const QString copy = m_env->scratch() + "/desktop/Über 100%.rtf";
        QCOMPARE(m_env->dialogs().messages().last(), "Saved to Desktop");
        QVERIFY(readAll(copy).startsWith("{\\rtf1"));
        QVERIFY(window.selectTreePath(copy)); // the tree shows it
        trigger(window, "SendToDesktop");
        const DesktopEntry link =
            DesktopEntry::parse(readAll(m_env->scratch() + "/desktop/Über 100%.desktop"));
        QCOMPARE(QUrl(link.value("URL")).toLocalFile(), note);
        trigger(window, "ID_PrintSelected");
        auto *preview = window.findChild<QPrintPreviewDialog *>("dlgPrintPreview");
        QVERIFY(preview && preview->isVisible());
        QCOMPARE(preview->windowTitle(), "Print Über 100%.rtf");
        preview->close();
    }

    void picturesAndEditors_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("viewer");
        QTest::addColumn<QString>("tool");
        QTest::addColumn<QString>("expected"); // what the platform or the host was asked
        QTest::addColumn<bool>("closed");
        const auto row = [](const char *tag, const QString &name, bool viewer, const QString &tool,
                            const QString &expected, bool closed) {
            QTest::newRow(tag) << name << viewer << tool << expected << closed;
        };
        row("picture, desktop viewer", "Logo", false, "Picture", "opened Logo.png", false);
        row("picture, sibling viewer", "Logo", true, "Picture", "started Logo.png", true);
        row("multimedia, linked picture", "Holiday", false, "Picture", "opened Beach.png", false);
        row("edit a picture", "Logo", false, "Edit", "photoeditor Logo.png", true);
        row("edit a note", "Holiday", false, "Edit", "notebookeditor Holiday.rtf", true);
        row("edit a list", "Prices", false, "Edit", "edit mode", false);
    }

    void picturesAndEditors()
    {
        QFETCH(QString, name);
        QFETCH(bool, viewer);
        QFETCH(QString, tool);
        QFETCH(QString, expected);
        QFETCH(bool, closed);
        addPicture("Logo.png");
        addDocument("Logo.png", QByteArray(), "Picture");
        const QString beach = addPicture("Beach.png");
        addDocument("Holiday.rtf", rtf("beach"), "Multimedia", beach);
        addDocument("Prices.nvs",
                    "NuvelaList\t1\nsize\t2\t1\nfixed\t1\t0\nrow\t0\tItem\nrow\t1\tBread\n",
                    "List");
        QString program;
        if (viewer) {
            program = m_env->programFolder() + "/Nuvela Photo Viewer";
            QFile file(program);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        RecordingToolHost host;
        auto *frame = new QWidget;
        host.answer = frame;
        auto *window = new FormNotes;
        window->setAttribute(Qt::WA_DeleteOnClose);
        QPointer<FormNotes> alive(window);
        window->show();
        select(*window, name);
        trigger(*window, tool);
        const QString file = expected.section(u' ', 1);
        const QString what = expected.section(u' ', 0, 0);
        if (what == QLatin1String("opened")) {
            QCOMPARE(m_env->platform().opened, QStringList{m_docs + u'/' + file});
        } else if (what == QLatin1String("started")) {
            QCOMPARE(m_env->platform().started.size(), 1);
            QCOMPARE(m_env->platform().started.first(),
                     (QStringList{program, m_docs + u'/' + file}));
        } else if (what == QLatin1String("edit")) {
            QVERIFY(alive->isEditing());
            QCOMPARE(alive->pane(), FormNotes::Pane::List);
            alive->CancelInPlace();
        } else {
            QCOMPARE(host.opened.size(), 1);
            QCOMPARE(host.opened.first().name, what);
            QCOMPARE(host.opened.first().file, m_docs + u'/' + file);
            QVERIFY(host.opened.first().outer);
        }
        QTRY_COMPARE(alive.isNull(), closed);
        delete alive.data();
        delete frame;
    }

    // A list document leaves as an Excel workbook that LibreOffice reads cell for cell; a
    // workbook of the name is replaced only after a question.
    void aListIsExportedAsAWorkbook()
    {
        addDocument("Prices.nvs",
                    "NuvelaList\t1\nsize\t3\t2\nfixed\t1\t0\nrow\t0\tItem\tPrice\n"
                    "row\t1\tCaf\xC3\xA9 \"au lait\"\t3.20\nrow\t2\tO'Brien's 100%\t4\n",
                    "List");
        FormNotes window;
        select(window, "Prices");
        const QString folder = m_env->userFiles() + "/Exported Files/Excel";
        m_env->dialogs().answerPath(folder + "/Prices");
        trigger(window, "SaveasXL");
        QCOMPARE(m_env->dialogs().shown().last().text, "Excel workbook (*.xlsx)|*.xlsx");
        const QString xlsx = folder + "/Prices.xlsx";
        QVERIFY(readAll(xlsx).startsWith("PK"));
        // The name the picker returned lacked ".xlsx": the picker never asked about this file.
        m_env->dialogs().answerPath(folder + "/Prices");
        m_env->dialogs().answerQuestion(false);
        trigger(window, "SaveasXL");
        QCOMPARE(m_env->dialogs().shown().last().kind, "question");
        QVERIFY(m_trash->trashed().isEmpty());
        m_env->dialogs().answerPath(xlsx);
        trigger(window, "SaveasXL");
        QCOMPARE(m_trash->trashed(), QStringList{"Prices.xlsx"});

        NUVELA_REQUIRE_OFFICE();
        const QString csv = OfficeConvert(xlsx, "csv:Text - txt - csv (StarCalc):44,34,76",
                                          m_env->scratch() + "/out", m_env->scratch() + "/profile");
        QVERIFY2(!csv.isEmpty(), "LibreOffice did not read the workbook");
        const QString text = QString::fromUtf8(readAll(csv));
        QVERIFY2(text.contains("Item,Price"), qPrintable(text));
        QVERIFY2(text.contains("\"Café \"\"au lait\"\"\",3.2"), qPrintable(text));
        QVERIFY2(text.contains("O'Brien's 100%,4"), qPrintable(text));
    }
};

QTEST_MAIN(tst_FormNotesOperations)
#include "tst_FormNotesOperations.moc"
