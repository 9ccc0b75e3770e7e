#include "Port_Env.h"

#include <QtTest>

#include <cstdlib>

namespace {

// Sets an environment variable for one test and puts the old value back afterwards.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const QByteArray& value)
        : name(name), hadValue(qEnvironmentVariableIsSet(name)), old(qgetenv(name))
    {
        qputenv(name, value);
    }
    ~ScopedVariable()
    {
        if (hadValue)
            qputenv(name, old);
        else
            qunsetenv(name);
    }

private:
    const char* name;
    bool hadValue;
    QByteArray old;
};

void writeFile(const QString& path, QFile::Permissions permissions)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("#!/bin/sh\n");
    file.close();
    QVERIFY(file.setPermissions(permissions));
}

const QFile::Permissions executable =
    QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther;
const QFile::Permissions plain = QFile::ReadOwner | QFile::WriteOwner;

QString found(const char* name, int searchPath)
{
    return QString::fromStdString(Port_Env::GetExecFileName(name, searchPath).str());
}

}  // namespace

class TestEnv : public QObject {
    Q_OBJECT

private slots:
    void init();
    void searchesPathInOrder();
    void emptyPathEntryIsCurrentDirectory();
    void nameWithSlash();
    void getVariable();

private:
    QScopedPointer<QTemporaryDir> dir;
};

void TestEnv::init()
{
    dir.reset(new QTemporaryDir);
    QVERIFY(dir->isValid());
    QVERIFY(QDir(dir->path()).mkpath("plain"));
    QVERIFY(QDir(dir->path()).mkpath("subdir/gantrel-tool"));
    QVERIFY(QDir(dir->path()).mkpath("exec"));
}

// A non-executable file and a directory of the same name earlier on PATH are skipped.
void TestEnv::searchesPathInOrder()
{
    writeFile(dir->filePath("plain/gantrel-tool"), plain);
    writeFile(dir->filePath("exec/gantrel-tool"), executable);
    const QByteArray path = QStringList{dir->filePath("plain"), dir->filePath("subdir"),
                                        dir->filePath("exec"), "/nonexistent"}
                                .join(':')
                                .toLocal8Bit();
    ScopedVariable variable("PATH", path);
    QCOMPARE(found("gantrel-tool", 1), dir->filePath("exec/gantrel-tool"));
    QCOMPARE(found("gantrel-tool", 0), QString());
    QCOMPARE(found("gantrel-missing", 1), QString());
    QCOMPARE(found("", 1), QString());
}

void TestEnv::emptyPathEntryIsCurrentDirectory()
{
    writeFile(dir->filePath("exec/gantrel-tool"), executable);
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir->filePath("exec")));
    ScopedVariable variable("PATH", "/nonexistent::/also-nonexistent");
    const QString answer = found("gantrel-tool", 1);
    QVERIFY(QDir::setCurrent(previous));
    QCOMPARE(QFileInfo(answer).canonicalFilePath(),
             QFileInfo(dir->filePath("exec/gantrel-tool")).canonicalFilePath());
    QVERIFY(QFileInfo(answer).isAbsolute());
}

void TestEnv::nameWithSlash()
{
    writeFile(dir->filePath("exec/gantrel-tool"), executable);
    writeFile(dir->filePath("plain/gantrel-tool"), plain);
    ScopedVariable variable("PATH", "/nonexistent");
    const QString tool = dir->filePath("exec/gantrel-tool");
    QCOMPARE(found(tool.toLocal8Bit().constData(), 0), tool);
    QCOMPARE(found(dir->filePath("plain/gantrel-tool").toLocal8Bit().constData(), 1), QString());
    QCOMPARE(found(dir->filePath("subdir/gantrel-tool").toLocal8Bit().constData(), 1), QString());

    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir->path()));
    const QString relative = found("exec/gantrel-tool", 0);
    QVERIFY(QDir::setCurrent(previous));
    QVERIFY(QFileInfo(relative).isAbsolute());
    QCOMPARE(QFileInfo(relative).canonicalFilePath(), QFileInfo(tool).canonicalFilePath());
}

void TestEnv::getVariable()
{
    {
        ScopedVariable variable("GANTREL_TEST_VARIABLE", "a value");
        QCOMPARE(Port_Env::GetVariable("GANTREL_TEST_VARIABLE"), Port::String("a value"));
    }
    QVERIFY(Port_Env::GetVariable("GANTREL_TEST_VARIABLE").IsEmpty());
}

QTEST_GUILESS_MAIN(TestEnv)
#include "tst_env.moc"
