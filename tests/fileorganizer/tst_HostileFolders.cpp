// Folders an unlucky user might catalogue or search, built here: a ".hidden" list that is a pipe
// or a device, names that are not UTF-8, a tree deeper than the system's path limit. Nothing
// blocks, nothing is lost, every stored name reopens its file.

#include "CatalogueScanJob.h"
#include "FileSearchJob.h"
#include "FolderReader.h"
#include "NativeName.h"
#include "Store.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QTest>

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

bool writeNative(const QByteArray &path, const QByteArray &content)
{
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    const bool ok = fd >= 0 && ::write(fd, content.constData(), size_t(content.size())) ==
                                   ssize_t(content.size());
    if (fd >= 0)
        ::close(fd);
    return ok;
}

QByteArray readNative(const QByteArray &path)
{
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    QByteArray bytes(64, '\0');
    const ssize_t got = fd >= 0 ? ::read(fd, bytes.data(), size_t(bytes.size())) : -1;
    if (fd >= 0)
        ::close(fd);
    return got >= 0 ? bytes.left(got) : QByteArray();
}

QMap<QString, int> attributesByName(const QByteArray &folder)
{
    std::vector<FileEntry> entries;
    FolderReader::read(folder, entries);
    QMap<QString, int> found;
    for (const FileEntry &entry : entries)
        found.insert(entry.name(), entry.attributes);
    return found;
}

// A chain of folders whose path is longer than PATH_MAX, made and removed one name at a time
// (the system cannot name it whole).
class DeepChain
{
public:
    explicit DeepChain(const QByteArray &root)
    {
        m_fds.push_back(::open(root.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        for (int i = 0; m_length <= PATH_MAX + 200 && m_fds.back() >= 0; ++i) {
            const QByteArray name = QByteArray(200, 'd') + QByteArray::number(i);
            if (::mkdirat(m_fds.back(), name.constData(), 0755) != 0)
                break;
            m_fds.push_back(::openat(m_fds.back(), name.constData(), O_RDONLY | O_DIRECTORY));
            m_names.append(name);
            m_length += name.size() + 1;
        }
        const int file = m_fds.back() >= 0 ? ::openat(m_fds.back(), "bottom.txt",
                                                      O_WRONLY | O_CREAT | O_CLOEXEC, 0644)
                                           : -1;
        m_made = file >= 0 && ::write(file, "deep", 4) == 4;
        if (file >= 0)
            ::close(file);
    }
    ~DeepChain()
    {
        ::unlinkat(m_fds.back(), "bottom.txt", 0);
        for (qsizetype i = m_names.size() - 1; i >= 0; --i)
            ::unlinkat(m_fds[i], m_names[i].constData(), AT_REMOVEDIR);
        for (int fd : m_fds)
            ::close(fd);
    }
    bool made() const { return m_made; }
    QByteArray bottom(const QByteArray &root) const { return root + '/' + m_names.join('/'); }

private:
    std::vector<int> m_fds;
    QList<QByteArray> m_names;
    qsizetype m_length = 0;
    bool m_made = false;
};

} // namespace

class TestHostileFolders : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> m_env;

    QString storePath() const { return m_env->programFolder() + QStringLiteral("/nuveladata.dll"); }

    // Location -> Attribute of every catalogue row.
    QMap<QString, int> catalogue() const
    {
        Store store(Store::Kind::Data, storePath());
        QSqlQuery query =
            store.query(QStringLiteral("Select Location, Attribute from filedetails"));
        QMap<QString, int> rows;
        while (query.next())
            rows.insert(query.value(0).toString(), query.value(1).toInt());
        return rows;
    }

    bool scan(const QString &folder)
    {
        CatalogueScanJob job(storePath(), folder, CatalogueScanJob::Mode::Tree);
        job.runHere();
        return job.succeeded();
    }

private Q_SLOTS:
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup() { m_env.reset(); }

    void hiddenListReadOnlyWhenSane_data();
    void hiddenListReadOnlyWhenSane();
    void manyHiddenNames();
    void namesThatAreNotUtf8StayApart();
    void treeDeeperThanThePathLimit();
};

void TestHostileFolders::hiddenListReadOnlyWhenSane_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("hidden");

    QTest::newRow("a list") << "file" << true;
    QTest::newRow("a link to a list") << "link to file" << true;
    // A pipe blocked the scan forever; /dev/zero ate memory until the program died.
    QTest::newRow("a pipe") << "fifo" << false;
    QTest::newRow("a link to /dev/zero") << "link to /dev/zero" << false;
    QTest::newRow("more than 1 MB") << "large" << false;
}

void TestHostileFolders::hiddenListReadOnlyWhenSane()
{
    QFETCH(QString, kind);
    QFETCH(bool, hidden);
    const QString root = m_env->scratch() + QStringLiteral("/listed");
    m_env->writeFile(QStringLiteral("listed/a.txt"));
    m_env->writeFile(QStringLiteral("listed/b.txt"));
    const QByteArray list = QFile::encodeName(root + QStringLiteral("/.hidden"));
    const QByteArray names("b.txt\nnot-there\n");
    if (kind == QLatin1String("file")) {
        QVERIFY(writeNative(list, names));
    } else if (kind == QLatin1String("link to file")) {
        QVERIFY(writeNative(QFile::encodeName(m_env->scratch()) + "/names", names));
        QVERIFY(::symlink("../names", list.constData()) == 0);
    } else if (kind == QLatin1String("fifo")) {
        QVERIFY(::mkfifo(list.constData(), 0644) == 0);
    } else if (kind == QLatin1String("link to /dev/zero")) {
        QVERIFY(::symlink("/dev/zero", list.constData()) == 0);
    } else {
        QVERIFY(writeNative(list, names + QByteArray(1024 * 1024, '\n')));
    }
    const QMap<QString, int> listed = attributesByName(QFile::encodeName(root));
    QCOMPARE(listed.value(QStringLiteral("a.txt")), 32);
    QCOMPARE(listed.value(QStringLiteral("b.txt")), hidden ? 34 : 32);
    QVERIFY(scan(root));
    const QMap<QString, int> rows = catalogue();
    QCOMPARE(rows.value(root + QStringLiteral("/b.txt")), hidden ? 34 : 32);
    QCOMPARE(rows.value(root + QStringLiteral("/a.txt")), 32);
}

// A 50,000-line list: every listed name is hidden, the others are not.
void TestHostileFolders::manyHiddenNames()
{
    const QString root = m_env->scratch() + QStringLiteral("/many");
    QByteArray list;
    for (int i = 0; i < 50000; ++i)
        list += "listed" + QByteArray::number(i) + ".txt\n";
    for (int i = 0; i < 300; ++i) {
        m_env->writeFile(QStringLiteral("many/listed%1.txt").arg(i * 7));
        m_env->writeFile(QStringLiteral("many/free%1.txt").arg(i));
    }
    QVERIFY(writeNative(QFile::encodeName(root) + "/.hidden", list));
    const QMap<QString, int> listed = attributesByName(QFile::encodeName(root));
    QCOMPARE(listed.size(), 601);
    for (auto it = listed.cbegin(); it != listed.cend(); ++it) {
        const bool shouldHide =
            it.key().startsWith(QLatin1String("listed")) || it.key() == QLatin1String(".hidden");
        QCOMPARE(bool(it.value() & FileEntry::Hidden), shouldHide);
    }
}

// Names that are not UTF-8 were stored with U+FFFD: two such names became one, and neither
// reopened.
void TestHostileFolders::namesThatAreNotUtf8StayApart()
{
    const QByteArray root = QFile::encodeName(m_env->scratch()) + "/raw";
    QVERIFY(::mkdir(root.constData(), 0755) == 0);
    QVERIFY(::mkdir((root + "/d\xFC"
                            "r")
                        .constData(),
                    0755) == 0);
    QVERIFY(writeNative(root + "/caf\xE9.txt", "e-acute"));
    QVERIFY(writeNative(root + "/caf\xE8.txt", "e-grave"));
    QVERIFY(writeNative(root + "/d\xFC"
                               "r/caf\xE9.txt",
                        "inside"));
    QVERIFY(writeNative(root + "/caf\xC3\xA9.txt", "utf-8"));
    QVERIFY(scan(NativeName::fromNative(root)));
    const QMap<QString, int> rows = catalogue();
    QCOMPARE(rows.size(), 4);
    QStringList contents;
    for (auto it = rows.cbegin(); it != rows.cend(); ++it)
        contents.append(QString::fromLatin1(readNative(NativeName::toNative(it.key()))));
    contents.sort();
    QCOMPARE(contents, (QStringList{"e-acute", "e-grave", "inside", "utf-8"}));
    QVERIFY(rows.contains(NativeName::fromNative(root) + QStringLiteral("/café.txt")));

    FileSearchJob search(NativeName::fromNative(root), QStringLiteral("caf*"), true);
    search.runHere();
    QStringList found;
    for (const FileSearchJob::FolderHits &hits : search.results()) {
        for (const FileEntry &hit : hits.hits)
            found.append(
                QString::fromLatin1(readNative(NativeName::toNative(hits.folder + hit.name()))));
    }
    found.sort();
    QCOMPARE(found, (QStringList{"e-acute", "e-grave", "inside", "utf-8"}));
    // The temporary folder cannot remove what QDir cannot name.
    for (const char *name : {"/caf\xE9.txt", "/caf\xE8.txt",
                             "/d\xFC"
                             "r/caf\xE9.txt"})
        ::unlink((root + name).constData());
    ::rmdir((root + "/d\xFC"
                    "r")
                .constData());
}

// Folders deeper than the 4096-byte path limit were skipped silently.
void TestHostileFolders::treeDeeperThanThePathLimit()
{
    const QByteArray root = QFile::encodeName(m_env->scratch()) + "/deep";
    QVERIFY(::mkdir(root.constData(), 0755) == 0);
    QVERIFY(writeNative(root + "/top.txt", "top"));
    const DeepChain chain(root);
    QVERIFY(chain.made());
    QVERIFY(chain.bottom(root).size() > PATH_MAX);

    QVERIFY(scan(QString::fromUtf8(root)));
    const QMap<QString, int> rows = catalogue();
    QCOMPARE(rows.size(), 2);
    const QString bottom = QString::fromUtf8(chain.bottom(root)) + QStringLiteral("/bottom.txt");
    QVERIFY(rows.contains(bottom));
    // The stored folder opens again, however long its path.
    QCOMPARE(attributesByName(chain.bottom(root)).keys(), QStringList{"bottom.txt"});

    FileSearchJob search(QString::fromUtf8(root), QStringLiteral("bottom.txt"), true);
    search.runHere();
    QCOMPARE(search.results().size(), 1);
    QCOMPARE(search.results().first().folder + QStringLiteral("bottom.txt"), bottom);
}

QTEST_GUILESS_MAIN(TestHostileFolders)
#include "tst_HostileFolders.moc"
