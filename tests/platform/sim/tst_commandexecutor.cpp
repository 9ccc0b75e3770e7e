#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include "MessageCapture.h"
#include "Sim_CatalogLoader.h"
#include "Sim_CommandBuilder.h"
#include "Sim_CommandExecutor.h"
#include "Sim_DataLocation.h"
#include "Sim_FamilySupport.h"
#include "TestFiles.h"

// Batch commands run against the real engine and the shipped catalogue.
class tst_CommandExecutor : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

    // Reads the text as a command file "b.gtb" and runs it; the status of the run.
    static unsigned run(Sim::CommandExecutor& executor, const QByteArray& text)
    {
        Sim::CommandBuilder builder{Ipu::RuntimeOptions()};
        if (builder.AddCommandText(text, "b.gtb") != 0)
            return 99;
        return executor.Execute(builder.GetCommands(), false, true);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        Sim::DataLocation::SetDeviceDatabaseFile(Sim::DataLocation::DataDirectory() +
                                                 "/devices/devices.json");
        QCOMPARE(Sim::FamilySupport::Refresh(), 0u);
        Sim::CatalogLoader::Counts counts;
        QCOMPARE(Sim::CatalogLoader::Load(Sim::DataLocation::CatalogDirectories(), counts), 0u);
    }

    // Each refused command is named with its line and changes nothing.
    void refusals_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("message");
        const QByteArray counter = "SELECT \"Binary Counter\" pellor ip 1.1\n";
        QTest::newRow("unknown option")
            << QByteArray("SET Colour = red\n") << "b.gtb:1: unknown project option 'Colour'";
        QTest::newRow("option value refused")
            << QByteArray("SET DesignEntry = Pascal\n")
            << "b.gtb:1: project option DesignEntry does not take 'Pascal'";
        QTest::newRow("unknown IP") << QByteArray("SELECT \"Counter\" pellor ip 9.9\n")
                                    << "b.gtb:1: the catalogue has no IP \"Counter\" pellor ip 9.9";
        QTest::newRow("CSET before SELECT")
            << QByteArray("CSET WIDTH = 8\n") << "b.gtb:1: CSET needs an IP chosen by SELECT first";
        QTest::newRow("unknown parameter") << counter + "CSET DEPTH = 8\n"
                                           << "b.gtb:2: Binary Counter has no parameter 'DEPTH'";
        QTest::newRow("value above maximum") << counter + "CSET WIDTH = 65\n"
                                             << "b.gtb:2: WIDTH: 65 is above the maximum 64";
        QTest::newRow("not a choice") << counter + "CSET DIRECTION = sideways\n"
                                      << "b.gtb:2: DIRECTION: 'sideways' is not one of";
        QTest::newRow("illegal name") << counter + "CSET component_name = 9lives\n"
                                      << "b.gtb:2: Component name '9lives'";
        QTest::newRow("GENERATE before SELECT")
            << QByteArray("GENERATE\n") << "b.gtb:1: GENERATE needs an IP chosen by SELECT first";
    }

    void refusals()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, message);
        Sim::CommandExecutor executor{Ipu::RuntimeOptions()};
        MessageCapture capture;
        QCOMPARE(run(executor, text), 1u);
        const QStringList lines = capture.textLines();
        QCOMPARE(lines.size(), 1);
        QVERIFY2(lines[0].startsWith("ERROR:sim:Sim_CommandExecutor - " + message),
                 qPrintable(lines[0]));
        QCOMPARE(executor.GetParameters().GetList().empty() ||
                     executor.GetParameters().GetList()[0].value == Port::String("16"),
                 true);
    }

    // A whole customization: the files are generated and the project keeps the IP.
    void generatesIntoTheProject()
    {
        const QString project = dir.filePath("p/p.gtcfg");
        Sim::CommandExecutor executor{Ipu::RuntimeOptions()};
        MessageCapture capture;
        const QByteArray text = "NEWPROJECT " + project.toUtf8() +
                                "\nSET DesignEntry = Verilog\n"
                                "SELECT \"Binary Counter\" pellor ip 1.1\n"
                                "CSET component_name = ticks\nCSET WIDTH = 9\nGENERATE\n";
        QVERIFY2(run(executor, text) == 0, qPrintable(capture.textLines().join("")));
        QVERIFY2(QFile::exists(dir.filePath("p/ticks.v")),
                 qPrintable(QDir(dir.filePath("p")).entryList().join(" ") +
                            capture.textLines().join("")));
        QVERIFY(QFile::exists(dir.filePath("p/counter_binary_core.v")));
        QVERIFY(TestFiles::read(dir.filePath("p/ticks.v")).contains(".WIDTH(9)"));
        QVERIFY(TestFiles::read(project).contains("ticks"));
        QCOMPARE(executor.GetParameters().GetList()[0].value, Port::String("9"));
    }
};

QTEST_GUILESS_MAIN(tst_CommandExecutor)
#include "tst_commandexecutor.moc"
