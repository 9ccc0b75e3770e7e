#include "Port_FileName.h"

#include <QtTest>

#include <string>

using Port::FileName;
using Port::String;

namespace {

String S(const QString& text)
{
    return String(text.toStdString());
}

QString Q(const String& text)
{
    return QString::fromStdString(text.str());
}

}  // namespace

class TestFileName : public QObject {
    Q_OBJECT

private slots:
    void split_data();
    void split();
    void absoluteClean_data();
    void absoluteClean();
    void relativeUsesCurrentDirectory();
    void setters();
};

void TestFileName::split_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("head");
    QTest::addColumn<QString>("base");
    QTest::addColumn<QString>("extension");
    QTest::addColumn<QString>("tail");
    QTest::addColumn<QString>("fullNoExtension");
    QTest::addColumn<bool>("absolute");

    QTest::newRow("several dots") << "/a/b.tar.gz"
                                  << "/a"
                                  << "b.tar"
                                  << "gz"
                                  << "b.tar.gz"
                                  << "/a/b.tar" << true;
    QTest::newRow("bare name") << "name"
                               << ""
                               << "name"
                               << ""
                               << "name"
                               << "name" << false;
    QTest::newRow("hidden") << ".profile"
                            << ""
                            << ".profile"
                            << ""
                            << ".profile"
                            << ".profile" << false;
    QTest::newRow("hidden with ext") << "d/.x.cfg"
                                     << "d"
                                     << ".x"
                                     << "cfg"
                                     << ".x.cfg"
                                     << "d/.x" << false;
    QTest::newRow("trailing separator") << "dir/"
                                        << "dir"
                                        << ""
                                        << ""
                                        << ""
                                        << "dir/" << false;
    QTest::newRow("lone dot") << "a/b."
                              << "a"
                              << "b"
                              << ""
                              << "b."
                              << "a/b" << false;
    QTest::newRow("relative") << "x/y.v"
                              << "x"
                              << "y"
                              << "v"
                              << "y.v"
                              << "x/y" << false;
    QTest::newRow("in root") << "/top.v"
                             << "/"
                             << "top"
                             << "v"
                             << "top.v"
                             << "/top" << true;
    QTest::newRow("root") << "/"
                          << "/"
                          << ""
                          << ""
                          << ""
                          << "/" << true;
    QTest::newRow("doubled separators") << "a//b.v"
                                        << "a"
                                        << "b"
                                        << "v"
                                        << "b.v"
                                        << "a/b" << false;
    QTest::newRow("dot in directory") << "x.d/file"
                                      << "x.d"
                                      << "file"
                                      << ""
                                      << "file"
                                      << "x.d/file" << false;
    QTest::newRow("parent") << "a/.."
                            << "a"
                            << ".."
                            << ""
                            << ".."
                            << "a/.." << false;
}

void TestFileName::split()
{
    QFETCH(QString, path);
    QFETCH(QString, head);
    QFETCH(QString, base);
    QFETCH(QString, extension);
    QFETCH(QString, tail);
    QFETCH(QString, fullNoExtension);
    QFETCH(bool, absolute);
    const FileName name(S(path));
    QCOMPARE(Q(name.GetHead()), head);
    QCOMPARE(Q(name.GetBase()), base);
    QCOMPARE(Q(name.GetExtension()), extension);
    QCOMPARE(Q(name.GetTail()), tail);
    QCOMPARE(Q(name.GetFullName(false)), fullNoExtension);
    QCOMPARE(name.IsAbsolute(), absolute);
    if (!path.contains("//"))
        QCOMPARE(Q(name.GetFullName(true)), path);
}

void TestFileName::absoluteClean_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("clean");
    QTest::addColumn<QString>("raw");

    QTest::newRow("dots") << "/a/./b/../c.v"
                          << "/a/c.v"
                          << "/a/./b/../c.v";
    QTest::newRow("doubled") << "//a//b/"
                             << "/a/b"
                             << "//a//b/";
    QTest::newRow("above root") << "/a/../../.."
                                << "/"
                                << "/a/../../..";
    QTest::newRow("root") << "/"
                          << "/"
                          << "/";
}

void TestFileName::absoluteClean()
{
    QFETCH(QString, path);
    QFETCH(QString, clean);
    QFETCH(QString, raw);
    const FileName name(S(path));
    QCOMPARE(Q(name.GetAbsolutePath(true)), clean);
    QCOMPARE(Q(name.GetAbsolutePath(false)), raw);
}

void TestFileName::relativeUsesCurrentDirectory()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir.path()));
    const QString cwd = QDir::currentPath();
    const QString clean = Q(FileName(S("x/./../y/z.v")).GetAbsolutePath());
    const QString raw = Q(FileName(S("y/z.v")).GetAbsolutePath(false));
    QVERIFY(QDir::setCurrent(previous));
    QCOMPARE(clean, cwd + "/y/z.v");
    QCOMPARE(raw, cwd + "/y/z.v");
}

void TestFileName::setters()
{
    FileName name(S("src/top.v"));
    name.SetExtension(".sv");
    QCOMPARE(Q(name.GetTail()), QString("top.sv"));
    name.SetExtension("vhd");
    QCOMPARE(Q(name.GetFullName()), QString("src/top.vhd"));
    name.SetTail("core.tar.gz");
    QCOMPARE(Q(name.GetBase()), QString("core.tar"));
    QCOMPARE(Q(name.GetExtension()), QString("gz"));
    name.SetHead("/out//");
    QCOMPARE(Q(name.GetFullName()), QString("/out/core.tar.gz"));
    name.SetHead("");
    QCOMPARE(Q(name.GetFullName()), QString("core.tar.gz"));

    FileName dotted(S("b."));
    dotted.SetExtension("");
    QCOMPARE(Q(dotted.GetTail()), QString("b"));
    QVERIFY(FileName().IsEmpty());
    QVERIFY(!FileName(S(".")).IsEmpty());
}

QTEST_GUILESS_MAIN(TestFileName)
#include "tst_filename.moc"
