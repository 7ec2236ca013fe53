#include "FrmRtfEdit.h"

#include "AppState.h"
#include "ContentIndex.h"
#include "DocImport.h"
#include "EditorAutosave.h"
#include "KeyedGridModel.h"
#include "NotesCatalogue.h"
#include "RecordingToolHost.h"
#include "Screenshot.h"
#include "SharedRoutines.h"
#include "SqlText.h"
#include "TestEnvironment.h"
#include "TestFiles.h"
#include "ToolRegistry.h"
#include "ToolStrip.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPrintPreviewDialog>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextList>
#include <QToolButton>

// The full document editor driven by its tools and buttons against real files and a real store.
class tst_FrmRtfEdit : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> m_env;

    template <typename T> static T *child(const QWidget &window, const char *name)
    {
        T *found = window.findChild<T *>(QLatin1String(name));
        if (!found)
            qFatal("no control %s", name);
        return found;
    }

    // A note with a catalogue row.
    QString addNote(const QString &file, const QByteArray &rtf, const QString &keyword = {})
    {
        const QString path = m_env->writeFile(QStringLiteral("docs/") + file, rtf);
        Store store(Store::Kind::Data);
        NotesCatalogue catalogue(store);
        DocumentRecord record = NotesCatalogue::linkRecord(path);
        record.keyword = keyword;
        record.category1 = QStringLiteral("Home");
        record.author = QStringLiteral("Zoë");
        if (!catalogue.writeRow(record))
            qFatal("row not written");
        return path;
    }

    static void selectAll(FrmRtfEdit &editor)
    {
        QTextCursor cursor = editor.pane()->textCursor();
        cursor.select(QTextCursor::Document);
        editor.pane()->setTextCursor(cursor);
    }

    static QStringList found(const QString &text)
    {
        Store store(Store::Kind::Data);
        return store.column(QStringLiteral("select DocumentName from nv_notesdairy1 where ") +
                            ContentIndex::condition(text));
    }

private Q_SLOTS:
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup() { m_env.reset(); }

    void opensTheDocumentWithItsFactsAndKeywords()
    {
        const QString path =
            addNote("Plan.rtf", "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 Caf\\'e9 plan\\par}",
                    "red,blue");
        FrmRtfEdit editor;
        QVERIFY(!editor.open(QString()));
        QVERIFY(!editor.open(m_env->scratch() + "/missing.rtf"));
        QVERIFY(editor.open(path));
        QCOMPARE(editor.pane()->toPlainText(), QStringLiteral("Café plan"));
        QCOMPARE(child<QLabel>(editor, "lblFileName")->text(), QStringLiteral("Plan.rtf"));
        QCOMPARE(child<QLabel>(editor, "lblCharacters")->text(),
                 QStringLiteral("No Of Character   -  9"));
        auto *keywords = child<QTableWidget>(editor, "grdKeyword");
        QCOMPARE(keywords->rowCount(), 11);
        QCOMPARE(keywords->item(1, 0)->text(), QStringLiteral("blue"));
        QCOMPARE(editor.pane()->palette().color(QPalette::Base), QColor(0xD2, 0xC9, 0xC6));
        QStringList facts;
        for (QLabel *label : child<QWidget>(editor, "tabSide")->findChildren<QLabel *>())
            facts << label->text();
        QVERIFY(facts.contains(QStringLiteral("Plan")));
        QVERIFY(facts.contains(QStringLiteral("Zoë")));
        QCOMPARE(child<QComboBox>(editor, "Id_Font")->itemText(2), QStringLiteral("MS Serif"));
        QCOMPARE(child<QComboBox>(editor, "Id_FontSize")->itemText(0), QStringLiteral("8"));
        QVERIFY(!editor.isModified());
        Screenshot(editor, QStringLiteral("editor"), QSize(1180, 780));
        editor.pane()->insertPlainText("x");
        QCOMPARE(child<QLabel>(editor, "lblCharacters")->text(),
                 QStringLiteral("No Of Character   -  10"));
    }

    void formattingTools_data()
    {
        QTest::addColumn<QString>("tool");
        QTest::addColumn<QString>("check");
        QTest::newRow("bold") << "Bold"
                              << "bold";
        QTest::newRow("italic") << "Italic"
                                << "italic";
        QTest::newRow("underline") << "Underline"
                                   << "underline";
        QTest::newRow("strikeout") << "Strikeout"
                                   << "strike";
        QTest::newRow("center") << "AlignCenter"
                                << "center";
        QTest::newRow("right") << "AlignRight"
                               << "right";
        QTest::newRow("bullet") << "Bullet"
                                << "list";
        QTest::newRow("lower case") << "LowerCase"
                                    << "text:hello wörld ß";
        QTest::newRow("upper case") << "UpperCase"
                                    << "text:HELLO WÖRLD SS";
        QTest::newRow("invert") << "InvertSelection"
                                << "text:hELLO wÖRLD ß";
    }

    void formattingTools()
    {
        QFETCH(QString, tool);
        QFETCH(QString, check);
        const QString path = addNote("f.rtf", "{\\rtf1 Hello W\\u246?rld \\u223?\\par}");
        FrmRtfEdit editor;
        QVERIFY(editor.open(path));
        selectAll(editor);
        QVERIFY(editor.runTool(tool));
        QTextCursor at(editor.pane()->document());
        at.setPosition(2);
        const QTextCharFormat format = at.charFormat();
        const QTextBlock block = editor.pane()->document()->begin();
        if (check == "bold")
            QVERIFY(format.fontWeight() > QFont::Medium);
        else if (check == "italic")
            QVERIFY(format.fontItalic());
        else if (check == "underline")
            QVERIFY(format.fontUnderline());
        else if (check == "strike")
            QVERIFY(format.fontStrikeOut());
        else if (check == "center")
            QVERIFY(block.blockFormat().alignment() & Qt::AlignHCenter);
        else if (check == "right")
            QVERIFY(block.blockFormat().alignment() & Qt::AlignRight);
        else if (check == "list")
            QVERIFY(block.textList());
        else
            QCOMPARE(editor.pane()->toPlainText(), check.mid(5));
        QVERIFY(editor.isModified());
        // Toggles and case changes keep to the selection; a second bold or bullet undoes.
        if (tool == "Bold" || tool == "Bullet") {
            QVERIFY(editor.runTool(tool));
            at.setPosition(2);
            QVERIFY(tool == "Bold" ? at.charFormat().fontWeight() <= QFont::Medium
                                   : !editor.pane()->document()->begin().textList());
        }
    }

    void fontsAndColours()
    {
        const QString path = addNote("c.rtf", "{\\rtf1 colours\\par}");
        FrmRtfEdit editor;
        QVERIFY(editor.open(path));
        selectAll(editor);
        QFont font(QStringLiteral("Courier New"));
        font.setPointSize(18);
        font.setItalic(true);
        m_env->dialogs().answerFont(font);
        QVERIFY(editor.runTool("Font"));
        QTextCursor at(editor.pane()->document());
        at.setPosition(3);
        QCOMPARE(at.charFormat().fontFamilies().toStringList().value(0),
                 QStringLiteral("Courier New"));
        QCOMPARE(at.charFormat().fontPointSize(), 18.0);
        QVERIFY(at.charFormat().fontItalic());

        m_env->dialogs().answerColor(QColor(10, 20, 30));
        QVERIFY(editor.runTool("Forecolor"));
        at.setPosition(3);
        QCOMPARE(at.charFormat().foreground().color(), QColor(10, 20, 30));
        child<QToolButton>(editor, "D1")->click(); // &H800080
        at.setPosition(3);
        QCOMPARE(at.charFormat().foreground().color(), QColor(0x80, 0x00, 0x80));

        m_env->dialogs().cancelNext();
        QVERIFY(editor.runTool("Backcolor"));       // cancelled: nothing changes
        child<QToolButton>(editor, "L10")->click(); // &HFF00: green
        QCOMPARE(editor.pane()->palette().color(QPalette::Base), QColor(0, 255, 0));

        auto *sizes = child<QComboBox>(editor, "Id_FontSize");
        Q_EMIT sizes->textActivated(QStringLiteral("20"));
        at.setPosition(3);
        QCOMPARE(at.charFormat().fontPointSize(), 20.0);
        Q_EMIT child<QComboBox>(editor, "Id_Font")->textActivated(QStringLiteral("Verdana"));
        at.setPosition(3);
        QCOMPARE(at.charFormat().fontFamilies().toStringList().value(0), QStringLiteral("Verdana"));

        // The colour goes with the next save.
        QVERIFY(editor.SaveFull());
        Store store(Store::Kind::Data);
        QCOMPARE(NotesCatalogue(store).viewColour(path), qint64(0x00FF00));
    }

    void clipboard()
    {
        const QString path = addNote("clip.rtf", "{\\rtf1 one two\\par}");
        FrmRtfEdit editor;
        QVERIFY(editor.open(path));
        QTextCursor cursor = editor.pane()->textCursor();
        cursor.setPosition(0);
        cursor.setPosition(4, QTextCursor::KeepAnchor);
        editor.pane()->setTextCursor(cursor);
        QVERIFY(editor.runTool("Cut"));
        QCOMPARE(editor.pane()->toPlainText(), QStringLiteral("two"));
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("one "));
        cursor.movePosition(QTextCursor::End);
        editor.pane()->setTextCursor(cursor);
        QVERIFY(editor.runTool("Paste"));
        QCOMPARE(editor.pane()->toPlainText(), QStringLiteral("twoone "));
        selectAll(editor);
        QVERIFY(editor.runTool("Copy"));
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("twoone "));
    }

    void stamps_data()
    {
        QTest::addColumn<QString>("tool");
        QTest::addColumn<bool>("national");
        QTest::addColumn<QString>("pattern");
        QTest::newRow("medium time") << "MediumT" << false << " Time: \\d\\d:\\d\\d [AP]M$";
        QTest::newRow("long time") << "LongT" << false << " Time: \\d\\d:\\d\\d:\\d\\d [AP]M$";
        QTest::newRow("short time") << "ShortT" << false << " Time: \\d{1,2}:\\d\\d$";
        QTest::newRow("medium date national")
            << "Medium" << true << "  Date: \\d\\d [A-Z][a-z]{2}-\\d{4}$";
        QTest::newRow("medium date") << "Medium" << false << "  Date: [A-Z][a-z]{2} \\d\\d-\\d{4}$";
        QTest::newRow("short date") << "Short" << true << "  Date: \\d{1,2} [A-Z][a-z]{2}-\\d\\d$";
        QTest::newRow("long date")
            << "Long" << false << "  Date: [A-Z][a-z]+day [A-Z][a-z]+ \\d\\d \\d{4}$";
    }

    // Stamps go to the end of the text, wherever the caret is.
    void stamps()
    {
        QFETCH(QString, tool);
        QFETCH(bool, national);
        QFETCH(QString, pattern);
        AppState::instance().national = national;
        const QString path = addNote("s.rtf", "{\\rtf1 start\\par}");
        FrmRtfEdit editor;
        QVERIFY(editor.open(path));
        QTextCursor cursor = editor.pane()->textCursor();
        cursor.setPosition(1);
        editor.pane()->setTextCursor(cursor);
        QVERIFY(editor.runTool(tool));
        const QString text = editor.pane()->toPlainText();
        QVERIFY2(text.startsWith(QStringLiteral("start")), qPrintable(text));
        QVERIFY2(QRegularExpression(pattern).match(text).hasMatch(), qPrintable(text));
        QCOMPARE(editor.pane()->textCursor().position(), int(text.size()));
        AppState::instance().national = false;
    }

    void findWord()
    {
        const QString path =
            addNote("find.rtf", "{\\rtf1 alpha\\par betamax beta\\par gamma\\par}");
        FrmRtfEdit editor;
        QVERIFY(editor.open(path));
        QVERIFY(editor.runTool("Find"));
        QVERIFY(child<QFrame>(editor, "fraFind")->isVisibleTo(&editor));
        child<QLineEdit>(editor, "txtFind")->setText(QStringLiteral("beta"));
        child<QPushButton>(editor, "CmdFind")->click();
        QCOMPARE(m_env->dialogs().messages().last(), QStringLiteral("Word found on line 1"));
        QCOMPARE(editor.pane()->textCursor().selectedText(), QStringLiteral("beta"));
        QCOMPARE(editor.pane()->textCursor().selectionStart(), 14);
        QVERIFY(!child<QFrame>(editor, "fraFind")->isVisibleTo(&editor));
        child<QLineEdit>(editor, "txtFind")->setText(QStringLiteral("alpha"));
        editor.CmdFind_Click();
        QCOMPARE(m_env->dialogs().messages().last(), QStringLiteral("Word found on line 0"));
        child<QLineEdit>(editor, "txtFind")->setText(QStringLiteral("bet"));
        editor.CmdFind_Click();
        QCOMPARE(m_env->dialogs().messages().last(), QStringLiteral("Word not found."));
    }

    void findAndReplace()
    {
        const QString path = addNote("r.rtf", "{\\rtf1 cat Cat {\\b cat}\\par concat\\par}");
        FrmRtfEdit editor;
        QVERIFY(editor.open(path));
        QTextCursor cursor = editor.pane()->textCursor();
        cursor.setPosition(0);
        cursor.setPosition(3, QTextCursor::KeepAnchor);
        editor.pane()->setTextCursor(cursor);
        QVERIFY(editor.runTool("FindReplace"));
        auto *dialog = editor.findChild<QDialog *>(QStringLiteral("frmFindReplace"));
        QVERIFY(dialog && dialog->isVisible());
        QCOMPARE(child<QLineEdit>(*dialog, "FindStuff")->text(), QStringLiteral("cat"));
        QVERIFY(child<QLabel>(*dialog, "Status")->text().isEmpty());
        child<QLineEdit>(*dialog, "ReplaceStuff")->setText(QStringLiteral("dog"));
        child<QCheckBox>(*dialog, "chkWholeWord")->setChecked(true);
        child<QPushButton>(*dialog, "cmdReplaceAll")->click();
        QCOMPARE(editor.pane()->toPlainText(), QStringLiteral("dog dog dog\nconcat"));
        // One undo step takes every replacement back.
        editor.pane()->undo();
        QCOMPARE(editor.pane()->toPlainText(), QStringLiteral("cat Cat cat\nconcat"));
        child<QCheckBox>(*dialog, "chkMatchCase")->setChecked(true);
        child<QLineEdit>(*dialog, "FindStuff")->setText(QStringLiteral("Cat"));
        child<QPushButton>(*dialog, "cmdFindNext")->click();
        QCOMPARE(editor.pane()->textCursor().selectionStart(), 4);
        child<QPushButton>(*dialog, "cmdReplace")->click();
        QCOMPARE(editor.pane()->toPlainText(), QStringLiteral("cat dog cat\nconcat"));
        QVERIFY(!child<QLabel>(*dialog, "Status")->text().isEmpty()); // no further "Cat"
    }

    void imports_data()
    {
        QTest::addColumn<QString>("tool");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("warned");
        QTest::newRow("text") << "TextImport"
                              << "in.txt" << QByteArray("Grüße\nline two") << "A Grüße\nline twoB"
                              << false;
        QTest::newRow("rtf") << "RTFImport"
                             << "in.rtf" << QByteArray("{\\rtf1 {\\b bold} words}")
                             << "A bold wordsB" << false;
        QTest::newRow("doc without antiword")
            << "DocImport"
            << "in.doc" << QByteArray("raw doc") << "A raw docB" << true;
    }

    // The imported text, after a blank, takes the place of the selection.
    void imports()
    {
        QFETCH(QString, tool);
        QFETCH(QString, file);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QFETCH(bool, warned);
        const QString path = addNote("i.rtf", "{\\rtf1 AxB\\par}");
        const QString source = m_env->writeFile(file, bytes);
        FrmRtfEdit editor;
        QVERIFY(editor.open(path));
        QTextCursor cursor = editor.pane()->textCursor();
        cursor.setPosition(1);
        cursor.setPosition(2, QTextCursor::KeepAnchor);
        editor.pane()->setTextCursor(cursor);
        const QString program = DocImport::program();
        DocImport::setProgram(m_env->scratch() + "/no-antiword");
        m_env->dialogs().answerPath(source);
        QVERIFY(editor.runTool(tool));
        DocImport::setProgram(program);
        QCOMPARE(editor.pane()->toPlainText(), text);
        QCOMPARE(m_env->dialogs().messages().size(), warned ? 1 : 0);
        if (warned)
            QVERIFY(m_env->dialogs().messages()[0].startsWith("Adding of *.doc file will be done"));
        if (tool == "RTFImport") {
            QTextCursor at(editor.pane()->document());
            at.setPosition(3);
            QVERIFY(at.charFormat().fontWeight() > QFont::Medium);
        }
        QCOMPARE(editor.pane()->textCursor().position(), int(text.size()) - 1);
        m_env->dialogs().cancelNext();
        QVERIFY(editor.runTool(tool)); // cancelled: nothing more
        QCOMPARE(editor.pane()->toPlainText(), text);
    }

    // A picture is embedded and saved inside the document.
    void pictureIsSavedInTheDocument()
    {
        const QString path = addNote("p.rtf", "{\\rtf1 picture: \\par}");
        QImage image(40, 30, QImage::Format_RGB32);
        image.fill(Qt::red);
        const QString picture = m_env->scratch() + "/red.png";
        QVERIFY(image.save(picture));
        FrmRtfEdit editor;
        QVERIFY(editor.open(path));
        QTextCursor cursor = editor.pane()->textCursor();
        cursor.movePosition(QTextCursor::End);
        editor.pane()->setTextCursor(cursor);
        m_env->dialogs().answerPath(picture);
        QVERIFY(editor.runTool("Picture"));
        m_env->dialogs().answerPath(m_env->writeFile("notapicture.png", "text"));
        QVERIFY(editor.runTool("Picture"));
        QCOMPARE(m_env->dialogs().shown().last().icon, Dialogs::Icon::Warning);
        QVERIFY(editor.SaveFull());
        const QByteArray saved = ReadBytes(path);
        QVERIFY(saved.contains("\\pngblip\\picw40\\pich30"));
        FrmRtfEdit again;
        QVERIFY(again.open(path));
        bool hasImage = false;
        for (auto it = again.pane()->document()->begin().begin(); !it.atEnd(); ++it)
            hasImage = hasImage || it.fragment().charFormat().isImageFormat();
        QVERIFY(hasImage);
    }

    // The file is replaced atomically, the row gets the body copy with "`" for "'", and content
    // search finds the new words.
    void saveWritesFileRowAndIndex()
    {
        const QString path = addNote("Save.rtf", "{\\rtf1 old words\\par}");
        FrmRtfEdit editor;
        QVERIFY(editor.open(path));
        editor.pane()->setPlainText(QStringLiteral("Don't forget the zucchini"));
        QVERIFY(editor.SaveFull());
        QVERIFY(!editor.isModified());
        Store store(Store::Kind::Data);
        const DocumentRecord row = *NotesCatalogue(store).byPath(path);
        QVERIFY(row.content.contains(QStringLiteral("Don`t forget the zucchini")));
        QCOMPARE(row.mDate, QDate::currentDate().startOfDay());
        QCOMPARE(found(QStringLiteral("zucchini")), QStringList{"Save"});
        QVERIFY(found(QStringLiteral("old")).isEmpty());
        QVERIFY(ReadBytes(path).startsWith("{\\rtf1"));
        QCOMPARE(QDir(FolderOfPath(path)).entryList(QDir::Files), QStringList{"Save.rtf"});
    }

    void textFilesStayText()
    {
        const QString path = m_env->writeFile(QStringLiteral("docs/plain.txt"), "old");
        FrmRtfEdit editor;
        QVERIFY(editor.open(path));
        editor.pane()->setPlainText(QStringLiteral("new words"));
        QVERIFY(editor.SaveFull()); // no row: the file alone
        QCOMPARE(ReadBytes(path), QByteArray("new words"));
    }

    void saveButton_data()
    {
        QTest::addColumn<bool>("save");
        QTest::newRow("yes") << true;
        QTest::newRow("no") << false;
    }

    // Either answer closes the editor and opens the notebook on the document.
    void saveButton()
    {
        QFETCH(bool, save);
        const QString path = addNote("b.rtf", "{\\rtf1 before\\par}");
        RecordingToolHost host;
        FrmRtfEdit editor;
        editor.show();
        QVERIFY(editor.open(path));
        editor.pane()->setPlainText(QStringLiteral("after"));
        m_env->dialogs().answerQuestion(save);
        child<QPushButton>(editor, "SSCommand1")->click();
        QCOMPARE(m_env->dialogs().shown().last().text,
                 QStringLiteral("Do you want to save this file?"));
        QCOMPARE(m_env->dialogs().shown().last().title,
                 QStringLiteral("Nuvela Notebook - Edit Document"));
        QCOMPARE(ReadBytes(path).contains("after"), save);
        QCOMPARE(m_env->platform().sounds.size(), save ? 1 : 0);
        QVERIFY(!editor.isVisible());
        QCOMPARE(host.opened.size(), 1);
        QCOMPARE(host.opened[0].name, QStringLiteral("notebook"));
        QCOMPARE(host.opened[0].file, path);
    }

    // A save that cannot write keeps the editor open with the text.
    void failedSaveKeepsEditing()
    {
        const QString path = addNote("gone/f.rtf", "{\\rtf1 x\\par}");
        RecordingToolHost host;
        FrmRtfEdit editor;
        editor.show();
        QVERIFY(editor.open(path));
        QVERIFY(QFile::remove(path) && QDir().rmdir(FolderOfPath(path)));
        QVERIFY(WriteBytes(FolderOfPath(path), "now a file"));
        editor.pane()->setPlainText(QStringLiteral("kept"));
        m_env->dialogs().answerQuestion(true);
        editor.SSCommand1_Click();
        QCOMPARE(m_env->dialogs().shown().last().icon, Dialogs::Icon::Critical);
        QVERIFY(editor.isVisible());
        QVERIFY(host.opened.isEmpty());
        QCOMPARE(editor.pane()->toPlainText(), QStringLiteral("kept"));
    }

    void cancelAndClose_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("quit");
        QTest::newRow("cancel, keep editing") << "SSCommand2" << false;
        QTest::newRow("cancel, quit") << "SSCommand2" << true;
        QTest::newRow("close, quit") << "dxColorBtn1" << true;
    }

    void cancelAndClose()
    {
        QFETCH(QString, button);
        QFETCH(bool, quit);
        const QString path = addNote("q.rtf", "{\\rtf1 text\\par}");
        RecordingToolHost host;
        FrmRtfEdit editor;
        editor.show();
        QVERIFY(editor.open(path));
        editor.pane()->insertPlainText(QStringLiteral("more "));
        m_env->dialogs().answerQuestion(quit);
        child<QPushButton>(editor, qPrintable(button))->click();
        QCOMPARE(m_env->dialogs().shown().last().text, QStringLiteral("Quit without saving?"));
        QCOMPARE(m_env->dialogs().shown().last().title, QStringLiteral("Nuvela Utility"));
        QCOMPARE(editor.isVisible(), !quit);
        QCOMPARE(host.opened.size(), quit ? 1 : 0);
        QCOMPARE(ReadBytes(path), QByteArray("{\\rtf1 text\\par}"));
        const bool cancelSound = quit && button == "SSCommand2";
        QCOMPARE(m_env->platform().sounds.size(), cancelSound ? 1 : 0);
        QCOMPARE(EditorAutosave::exists(path), false);
    }

    // Closed by its frame: only unsaved changes are asked about.
    void closingAsksOnlyWhenChanged()
    {
        const QString path = addNote("x.rtf", "{\\rtf1 text\\par}");
        RecordingToolHost host;
        FrmRtfEdit editor;
        editor.show();
        QVERIFY(editor.open(path));
        editor.pane()->insertPlainText(QStringLiteral("change "));
        m_env->dialogs().answerQuestion(false);
        QVERIFY(!editor.close());
        QVERIFY(editor.isVisible());
        editor.pane()->undo();
        editor.pane()->document()->setModified(false);
        QVERIFY(editor.close());
        QCOMPARE(host.opened.size(), 1);
    }

    void wordCompletionBySubjects()
    {
        Store store(Store::Kind::Data);
        for (const auto &[word, subject] : {std::pair{"photon", "Physics"},
                                            {"phase", "Physics"},
                                            {"photosynthesis", "Biology"},
                                            {"pharaoh", "History"}})
            QVERIFY(store.exec(QStringLiteral("insert into ut_NbKeyword values (%1, %2)")
                                   .arg(SqlText::literal(word), SqlText::literal(subject))));
        const QString path = addNote("w.rtf", "{\\rtf1 \\par}");
        FrmRtfEdit editor;
        editor.show();
        QVERIFY(editor.open(path));
        auto *words = child<QListWidget>(editor, "grdWord");
        QCOMPARE(words->count(), 4); // the word list opens with every word
        child<QComboBox>(editor, "CmbSub")->setCurrentText(QStringLiteral("Physics"));
        child<QComboBox>(editor, "CmbSub1")->setCurrentText(QStringLiteral("Physics"));
        QCOMPARE(words->count(), 2);
        QTest::keyClicks(editor.pane(), QStringLiteral("ph"));
        QCOMPARE(words->count(), 2);
        QCOMPARE(words->item(0)->text(), QStringLiteral("phase"));
        child<QComboBox>(editor, "CmbSub1")->setCurrentText(QStringLiteral("Biology"));
        QTest::keyClicks(editor.pane(), QStringLiteral("o"));
        QCOMPARE(words->count(), 2);
        QCOMPARE(words->item(1)->text(), QStringLiteral("photosynthesis"));
        QTest::mouseClick(words->viewport(), Qt::LeftButton, {},
                          words->visualItemRect(words->item(1)).center());
        QCOMPARE(editor.pane()->toPlainText(), QStringLiteral("photosynthesis "));
        QCOMPARE(editor.focusWidget(), editor.pane());
        child<QCheckBox>(editor, "Chkall")->setChecked(true);
        QCOMPARE(words->count(), 4);
        QCOMPARE(child<QComboBox>(editor, "CmbSub")->currentText(), QStringLiteral("All"));
    }

    void keywordsAreSavedAfterEachEdit()
    {
        const QString path = addNote("k.rtf", "{\\rtf1 k\\par}", "old");
        FrmRtfEdit editor;
        QVERIFY(editor.open(path));
        auto *grid = child<QTableWidget>(editor, "grdKeyword");
        grid->setItem(1, 0, new QTableWidgetItem(QStringLiteral("new")));
        grid->setItem(3, 0, new QTableWidgetItem(QStringLiteral("Old")));
        Store store(Store::Kind::Data);
        QCOMPARE(NotesCatalogue(store).byPath(path)->keyword, QStringLiteral("old,new"));
    }

    void outputs()
    {
        const QString path = addNote("Out.rtf", "{\\rtf1 printed words\\par}");
        AppState::instance().desktopPath = m_env->scratch() + "/Desktop";
        QDir().mkpath(AppState::instance().desktopPath);
        FrmRtfEdit editor;
        QVERIFY(editor.open(path));
        QVERIFY(editor.runTool("SaveasWord"));
        const QString word = m_env->userFiles() + "/Exported Files/rtf/Out.rtf";
        QVERIFY(ReadBytes(word).contains("printed words"));
        QCOMPARE(m_env->platform().opened, QStringList{word});
        QVERIFY(editor.runTool("SavetoDesktop"));
        QVERIFY(ReadBytes(AppState::instance().desktopPath + "/Out.rtf").contains("printed words"));
        QCOMPARE(m_env->dialogs().messages().last(), QStringLiteral("Saved to Desktop"));
        m_env->dialogs().answerPath(m_env->scratch() + "/out");
        QVERIFY(editor.runTool("PrintPdf"));
        QVERIFY(ReadBytes(m_env->scratch() + "/out.pdf").startsWith("%PDF"));
        QVERIFY(editor.runTool("PrintPreview"));
        auto *preview = editor.findChild<QPrintPreviewDialog *>();
        QVERIFY(preview);
        preview->close();
        AppState::instance().desktopPath.clear();
    }

    // Unsaved changes are copied aside and offered back by the next editor on the document.
    void autosaveIsOfferedBack()
    {
        const QString path = addNote("a.rtf", "{\\rtf1 saved\\par}");
        {
            FrmRtfEdit editor;
            QVERIFY(editor.open(path));
            selectAll(editor);
            editor.pane()->insertPlainText(QStringLiteral("unsaved work"));
            QTRY_VERIFY_WITH_TIMEOUT(EditorAutosave::exists(path),
                                     FrmRtfEdit::AutosaveDelayMs + 2000);
        } // the program ends without closing the editor
        QVERIFY(EditorAutosave::exists(path));
        FrmRtfEdit declined;
        m_env->dialogs().answerQuestion(false);
        QVERIFY(declined.open(path));
        QCOMPARE(declined.pane()->toPlainText(), QStringLiteral("saved"));
        QVERIFY(!EditorAutosave::exists(path));

        QVERIFY(EditorAutosave::save(path, "{\\rtf1 unsaved work\\par}"));
        FrmRtfEdit restored;
        m_env->dialogs().answerQuestion(true);
        QVERIFY(restored.open(path));
        QCOMPARE(restored.pane()->toPlainText(), QStringLiteral("unsaved work"));
        QVERIFY(restored.isModified());
        QVERIFY(restored.SaveFull());
        QVERIFY(!EditorAutosave::exists(path));
        QVERIFY(ReadBytes(path).contains("unsaved work"));
    }

    void registeredAsNotebookEditor()
    {
        const ToolRegistry::Tool tool = ToolRegistry::find(QStringLiteral("notebookeditor"));
        QVERIFY(tool);
        QVERIFY(tool->commands.isEmpty());
        const QString path = addNote("r.rtf", "{\\rtf1 handed over\\par}");
        std::unique_ptr<QWidget> window(tool->create());
        tool->handOver(window.get(), {path, true});
        QCOMPARE(static_cast<FrmRtfEdit *>(window.get())->pane()->toPlainText(),
                 QStringLiteral("handed over"));
        QVERIFY(window->findChild<QWidget *>(QStringLiteral("CmdHelp")));
    }
};

QTEST_MAIN(tst_FrmRtfEdit)
#include "tst_FrmRtfEdit.moc"
