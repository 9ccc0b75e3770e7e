#include "CitP_Factory.h"
#include "TestInterfaces.h"

#include <QtTest>

#include <atomic>
#include <thread>
#include <vector>

namespace {

using CitP::Factory;
using CitP::Interface;
using CitP::Ref;
using CitpTest::ICensus;
using CitpTest::ICounter;
using CitpTest::INamed;

const char* const PATH_VARIABLE = "GANTREL_COMPONENT_PATH";
const QString COMPONENTS = QStringLiteral(CITP_TEST_COMPONENTS);

QString text(const Port::String& value)
{
    return QString::fromStdString(value.str());
}

QByteArray contentsOf(const QString& file)
{
    QFile source(file);
    return source.open(QIODevice::ReadOnly) ? source.readAll() : QByteArray("unreadable");
}

// Leaves the path at the test components; each test sets the path it needs after this.
bool loadTestComponent()
{
    qputenv(PATH_VARIABLE, COMPONENTS.toLocal8Bit());
    return Factory::LoadLibraryFactory("citp_testcomponent") == 0;
}

// Widgets alive in the library that makes them, or -1 when no library is loaded.
int liveWidgets()
{
    const Ref<ICensus> census = Factory::CreateInstanceRef(CitpTest::CLSID_Census).Query<ICensus>();
    return census ? census->LiveWidgets() : -1;
}

// The count as the object itself answers it.
unsigned long referencesOf(Interface* object)
{
    const unsigned long count = object->AddRef() - 1;
    object->Release();
    return count;
}

Ref<ICounter> newWidget()
{
    return Factory::CreateInstanceRef(CitpTest::CLSID_Widget).Query<ICounter>();
}

enum class RefOperation { CopyConstruct, MoveConstruct, CopyAssign, MoveAssign, SelfAssign, Reset };

}  // namespace

Q_DECLARE_METATYPE(RefOperation)

class TestFactory : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void componentDirectory_data();
    void componentDirectory();
    void loadFailures_data();
    void loadFailures();
    void loadsGoodLibrary();
    void createInstance_data();
    void createInstance();
    void queryInterface_data();
    void queryInterface();
    void interfacesShareOneObject();
    void refSemantics_data();
    void refSemantics();
    void asksLibrariesInLoadOrder();
    void lastErrorIsPerThread();
    void concurrentLoadAndCreate();

private:
    QScopedPointer<QTemporaryDir> dir;
};

void TestFactory::init()
{
    dir.reset(new QTemporaryDir);
    QVERIFY(dir->isValid());
}

// Every test gives back what it made.
void TestFactory::cleanup()
{
    qunsetenv(PATH_VARIABLE);
    QVERIFY(liveWidgets() <= 0);
}

void TestFactory::componentDirectory_data()
{
    QTest::addColumn<QByteArray>("value");  // null: unset
    QTest::addColumn<QString>("expected");  // empty: the directory of the factory library

    QTest::newRow("unset") << QByteArray() << QString();
    QTest::newRow("empty") << QByteArray("") << QString();
    QTest::newRow("set") << QByteArray("/opt/components") << "/opt/components";
    QTest::newRow("trailing slashes") << QByteArray("/opt/components//") << "/opt/components";
    QTest::newRow("root") << QByteArray("/") << "/";
}

void TestFactory::componentDirectory()
{
    QFETCH(QByteArray, value);
    QFETCH(QString, expected);
    if (!value.isNull())
        qputenv(PATH_VARIABLE, value);
    const QString actual = text(Factory::ComponentDirectory());
    if (expected.isEmpty())
        QCOMPARE(QFileInfo(actual).canonicalFilePath(),
                 QFileInfo(QStringLiteral(CITP_LIBRARY_DIR)).canonicalFilePath());
    else
        QCOMPARE(actual, expected);
}

void TestFactory::loadFailures_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QByteArray>("content");  // written into the temporary directory; null: none
    QTest::addColumn<QString>("reason");      // what follows the file name; empty: dlopen's own

    const QByteArray good = contentsOf(COMPONENTS + "/libcitp_testcomponent.so");
    QTest::newRow("missing") << QByteArray("citp_absent") << QByteArray() << "";
    QTest::newRow("garbage") << QByteArray("citp_garbage")
                             << QByteArray("not a library\n").repeated(100) << "";
    QTest::newRow("empty file") << QByteArray("citp_empty") << QByteArray("") << "";
    // Cut inside the first loadable segment: dlopen alone would die of SIGBUS.
    QTest::newRow("truncated") << QByteArray("citp_cut") << good.left(4096)
                               << ": truncated library";
    QTest::newRow("header only") << QByteArray("citp_cut") << good.left(64)
                                 << ": truncated library";
    // Loaded from the build tree, not copied: glibc knows a loaded file by its inode, which a
    // later temporary file could reuse.
    QTest::newRow("no entry point") << QByteArray("citp_testbroken") << QByteArray()
                                    << "no entry point CitP_CreateInstance in ";
}

// A failure is a status naming the file, and a later try fails again rather than being
// remembered as loaded.
void TestFactory::loadFailures()
{
    QFETCH(QByteArray, name);
    QFETCH(QByteArray, content);
    QFETCH(QString, reason);
    const QString where = name == "citp_testbroken" ? COMPONENTS : dir->path();
    const QString file = where + "/lib" + name + ".so";
    QFile target(file);
    if (!content.isNull())
        QVERIFY(target.open(QIODevice::WriteOnly) && target.write(content) == content.size());
    target.close();
    qputenv(PATH_VARIABLE, where.toLocal8Bit());

    for (int attempt = 0; attempt < 2; ++attempt) {
        QCOMPARE(Factory::LoadLibraryFactory(name.constData()), 1u);
        const QString error = text(Factory::LastError());
        QVERIFY2(error.contains(file), qPrintable(error));
        if (reason.startsWith("no entry point"))
            QCOMPARE(error, reason + file);
        else if (!reason.isEmpty())
            QVERIFY2(error.startsWith(file + reason), qPrintable(error));
    }
}

void TestFactory::loadsGoodLibrary()
{
    qputenv(PATH_VARIABLE, dir->path().toLocal8Bit());
    QCOMPARE(Factory::LoadLibraryFactory("citp_testcomponent"), 1u);
    QVERIFY(!Factory::LastError().IsEmpty());

    QVERIFY(loadTestComponent());
    QCOMPARE(text(Factory::LastError()), QString());
    QVERIFY(loadTestComponent());
    // Once loaded, the library stays loaded wherever the path points later.
    qputenv(PATH_VARIABLE, dir->path().toLocal8Bit());
    QCOMPARE(Factory::LoadLibraryFactory("citp_testcomponent"), 0u);
    QCOMPARE(liveWidgets(), 0);
}

void TestFactory::createInstance_data()
{
    QTest::addColumn<QByteArray>("classId");
    QTest::addColumn<bool>("made");
    QTest::addColumn<int>("widgets");

    QTest::newRow("widget") << QByteArray(CitpTest::CLSID_Widget) << true << 1;
    QTest::newRow("census") << QByteArray(CitpTest::CLSID_Census) << true << 0;
    QTest::newRow("unknown") << QByteArray("CitpTest.Nothing") << false << 0;
    QTest::newRow("other case") << QByteArray("citptest.widget") << false << 0;
    QTest::newRow("empty") << QByteArray("") << false << 0;
}

void TestFactory::createInstance()
{
    QFETCH(QByteArray, classId);
    QFETCH(bool, made);
    QFETCH(int, widgets);
    QVERIFY(loadTestComponent());

    const Ref<Interface> object = Factory::CreateInstanceRef(classId.constData());
    QCOMPARE(bool(object), made);
    if (made)
        QCOMPARE(referencesOf(object.get()), 1ul);
    QCOMPARE(liveWidgets(), widgets);
}

void TestFactory::queryInterface_data()
{
    QTest::addColumn<QByteArray>("interfaceId");
    QTest::addColumn<bool>("offered");

    QTest::newRow("counter") << QByteArray(ICounter::IID) << true;
    QTest::newRow("named") << QByteArray(INamed::IID) << true;
    QTest::newRow("census") << QByteArray(ICensus::IID) << false;
    QTest::newRow("other case") << QByteArray("citptest.icounter") << false;
    QTest::newRow("empty") << QByteArray("") << false;
}

// An offered interface comes with one more reference for the caller; an unoffered one
// leaves the count alone and the out pointer null.
void TestFactory::queryInterface()
{
    QFETCH(QByteArray, interfaceId);
    QFETCH(bool, offered);
    QVERIFY(loadTestComponent());
    const Ref<Interface> widget = Factory::CreateInstanceRef(CitpTest::CLSID_Widget);
    QVERIFY(widget);

    Interface* out = reinterpret_cast<Interface*>(&out);  // not null, to see it cleared
    QCOMPARE(widget->QueryInterface(interfaceId.constData(), &out), offered ? 0u : 1u);
    QCOMPARE(out != nullptr, offered);
    QCOMPARE(referencesOf(widget.get()), offered ? 2ul : 1ul);
    if (out != nullptr)
        out->Release();
    QCOMPARE(referencesOf(widget.get()), 1ul);
}

// Interfaces queried from one another reach the same object, which goes with the last
// reference whichever interface holds it.
void TestFactory::interfacesShareOneObject()
{
    QVERIFY(loadTestComponent());
    Ref<ICounter> counter = newWidget();
    Ref<INamed> named = counter.Query<INamed>();
    QVERIFY(named);
    QVERIFY(!named.Query<ICensus>());
    QVERIFY(!Ref<ICounter>().Query<INamed>());
    Ref<ICounter> again = named.Query<ICounter>();
    QCOMPARE(again.get(), counter.get());
    QCOMPARE(counter->Next(), 1);
    QCOMPARE(again->Next(), 2);
    QCOMPARE(referencesOf(counter.get()), 3ul);

    counter.reset();
    again.reset();
    QCOMPARE(liveWidgets(), 1);
    QCOMPARE(named->Tag(), "first");
    named.reset();
    QCOMPARE(liveWidgets(), 0);
}

void TestFactory::refSemantics_data()
{
    QTest::addColumn<RefOperation>("operation");
    QTest::addColumn<unsigned long>("references");  // of the source's object afterwards
    QTest::addColumn<bool>("sourceHeld");
    QTest::addColumn<int>("widgets");  // 1 when the target's previous object was released

    QTest::newRow("copy construct") << RefOperation::CopyConstruct << 2ul << true << 1;
    QTest::newRow("move construct") << RefOperation::MoveConstruct << 1ul << false << 1;
    QTest::newRow("copy assign") << RefOperation::CopyAssign << 2ul << true << 1;
    QTest::newRow("move assign") << RefOperation::MoveAssign << 1ul << false << 1;
    QTest::newRow("self assign") << RefOperation::SelfAssign << 1ul << true << 2;
    QTest::newRow("reset") << RefOperation::Reset << 0ul << false << 2;
}

void TestFactory::refSemantics()
{
    QFETCH(RefOperation, operation);
    QFETCH(unsigned long, references);
    QFETCH(bool, sourceHeld);
    QFETCH(int, widgets);
    QVERIFY(loadTestComponent());

    Ref<ICounter> source = newWidget();
    Ref<ICounter> target = newWidget();
    ICounter* const object = source.get();
    object->AddRef();  // keeps the object observable whatever the operation does
    switch (operation) {
        case RefOperation::CopyConstruct: {
            Ref<ICounter> copy(source);
            target = std::move(copy);
            break;
        }
        case RefOperation::MoveConstruct: {
            Ref<ICounter> moved(std::move(source));
            target = std::move(moved);
            break;
        }
        case RefOperation::CopyAssign:
            target = source;
            break;
        case RefOperation::MoveAssign:
            target = std::move(source);
            break;
        case RefOperation::SelfAssign: {
            Ref<ICounter>& alias = source;
            source = alias;
            break;
        }
        case RefOperation::Reset:
            source.reset();
            break;
    }

    QCOMPARE(referencesOf(object) - 1, references);
    QCOMPARE(bool(source), sourceHeld);
    QCOMPARE(liveWidgets(), widgets);
    QCOMPARE(target.get() == object, widgets == 1);
    source.reset();
    target.reset();
    object->Release();
}

// Every loaded library is asked, the earliest loaded first.
void TestFactory::asksLibrariesInLoadOrder()
{
    QVERIFY(loadTestComponent());
    const QByteArray onlySecond = QByteArray(CitpTest::CLSID_TaggedWidgetPrefix) + "second";
    QVERIFY(!Factory::CreateInstanceRef(onlySecond.constData()));
    QCOMPARE(Factory::LoadLibraryFactory("citp_testsecond"), 0u);

    const Ref<INamed> shared = newWidget().Query<INamed>();
    const Ref<INamed> second = Factory::CreateInstanceRef(onlySecond.constData()).Query<INamed>();
    QVERIFY(shared && second);
    QCOMPARE(shared->Tag(), "first");
    QCOMPARE(second->Tag(), "second");
}

void TestFactory::lastErrorIsPerThread()
{
    QVERIFY(loadTestComponent());
    qputenv(PATH_VARIABLE, dir->path().toLocal8Bit());
    QCOMPARE(Factory::LoadLibraryFactory("citp_absent"), 1u);
    const Port::String mine = Factory::LastError();

    Port::String fresh("unset");
    Port::String afterFailure;
    Port::String afterSuccess("unset");
    std::thread other([&] {
        fresh = Factory::LastError();
        Factory::LoadLibraryFactory("citp_other");
        afterFailure = Factory::LastError();
        Factory::LoadLibraryFactory("citp_testcomponent");  // loaded already: a success
        afterSuccess = Factory::LastError();
    });
    other.join();
    QCOMPARE(text(fresh), QString());
    QVERIFY(text(afterFailure).contains("libcitp_other.so"));
    QCOMPARE(text(afterSuccess), QString());
    QVERIFY(text(mine).contains("libcitp_absent.so"));
    QCOMPARE(Factory::LastError(), mine);
}

// Threads load a library not loaded before, all at once, and create, query and share
// objects; nothing is lost or kept alive.
void TestFactory::concurrentLoadAndCreate()
{
    QVERIFY(loadTestComponent());
    const QString copy = dir->filePath("libcitp_race.so");
    QVERIFY(QFile::copy(COMPONENTS + "/libcitp_testcomponent.so", copy));
    qputenv(PATH_VARIABLE, dir->path().toLocal8Bit());
    const int threadCount = 6;
    const int rounds = 50;
    std::atomic<int> waiting{threadCount};
    std::atomic<int> failures{0};
    const Ref<ICounter> shared = newWidget();
    std::vector<std::thread> threads;
    for (int t = 0; t < threadCount; ++t) {
        threads.emplace_back([&] {
            for (--waiting; waiting > 0;)
                std::this_thread::yield();
            for (int round = 0; round < rounds; ++round) {
                failures += Factory::LoadLibraryFactory("citp_race");
                const Ref<ICounter> fresh = newWidget().Query<INamed>().Query<ICounter>();
                failures += !fresh || fresh->Next() != 1;
                const Ref<ICounter> mine = shared;
                mine->Next();
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    QCOMPARE(failures.load(), 0);
    QCOMPARE(shared->Next(), threadCount * rounds + 1);
    QCOMPARE(referencesOf(shared.get()), 1ul);
    QCOMPARE(liveWidgets(), 1);
}

QTEST_GUILESS_MAIN(TestFactory)
#include "tst_factory.moc"
