#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

#include "En_CommandExecutor.h"
#include "En_Global.h"
#include "En_Project.h"
#include "En_ProjectManager.h"
#include "MessageCapture.h"
#include "Sim_Command.h"
#include "TestEnvironment.h"

using Sim::Command;

class tst_CommandExecutor : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnvironment> environment;
    QTemporaryDir dir;
    Ipu::RuntimeOptions& options = En::Global::_batchCommandRuntimeOptions;

    static En::ProjectManager* manager() { return En::ProjectManager::GetInstance(); }
    static Port::String openFile() { return manager()->GetProject()->GetFullFileName(); }
    Port::String path(const QString& name) const { return dir.filePath(name).toStdString(); }

    static Port::String designEntry(const Ipu::ProjectOptions& projectOptions)
    {
        Port::String value;
        projectOptions.GetValue("DesignEntry", value);
        return value;
    }

    // The open project's design entry becomes entry; the executor starts from its options.
    static void startFrom(En::CommandExecutor& executor, const char* entry)
    {
        Ipu::ProjectOptions projectOptions = *manager()->GetProjectOptions();
        projectOptions.SetValue("DesignEntry", entry);
        QCOMPARE(manager()->SetProjectOptions(projectOptions), 0u);
        executor.SetExternalProjectOptions(projectOptions);
    }

private slots:
    void initTestCase()
    {
        environment = std::make_unique<TestEnvironment>();
        QVERIFY(TestEnvironment::waitForCatalog());
    }

    void init()
    {
        options.EnableBatchMode(true);
        options.EnablePollingMode(false);
        options.SetBatchCommandPath(options.GetStartupPath());
        QCOMPARE(manager()->NewProject(path("open")), 0u);
    }

    void projectCommandsNeedOneArgument_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("arguments");
        QTest::newRow("new project, none") << int(Command::NEWPROJECT) << 0;
        QTest::newRow("new project, two") << int(Command::NEWPROJECT) << 2;
        QTest::newRow("set project, none") << int(Command::SETPROJECT) << 0;
        QTest::newRow("set project, two") << int(Command::SETPROJECT) << 2;
    }

    void projectCommandsNeedOneArgument()
    {
        QFETCH(int, type);
        QFETCH(int, arguments);
        QCOMPARE(manager()->NewProject(path("other")), 0u);
        std::vector<Port::String> words{openFile(), path("third")};
        QCOMPARE(manager()->NewProject(path("open")), 0u);
        const Port::String open = openFile();
        words.resize(std::size_t(arguments));
        En::CommandExecutor executor(options);
        MessageCapture capture;
        QCOMPARE(executor.ExecuteCmd(Command(type, words), false, true), 0u);
        QCOMPARE(openFile(), open);
        QVERIFY(!QFileInfo::exists(dir.filePath("third")));
        QCOMPARE(capture.textLines(), QStringList());
    }

    // The commands after a missing project go on with the open project's options.
    void missingProjectKeepsTheOpenOne()
    {
        En::CommandExecutor executor(options);
        startFrom(executor, "Verilog");
        QCOMPARE(executor.ExecuteCmd(Command(Command::SET, {"DesignEntry", "VHDL"}), false, true),
                 0u);
        MessageCapture capture;
        const Port::String missing = path("missing/board.gtcfg");
        QCOMPARE(executor.ExecuteCmd(Command(Command::SETPROJECT, {missing}), false, true), 0u);
        QCOMPARE(capture.textLines(),
                 QStringList{QString("WARNING:enkit:En_CommandExecutor - Cannot set project to ") +
                             missing.c_str() + " - it does not exist\n"});
        QCOMPARE(designEntry(executor.GetProjectOptions()), Port::String("Verilog"));
    }

    // -p moves the batch commands away from the start-up directory: each project command
    // says so once and runs all the same, leaving the working directory as it was.
    void pathOptionWarning_data()
    {
        QTest::addColumn<bool>("moved");
        QTest::newRow("same path") << false;
        QTest::newRow("moved") << true;
    }

    void pathOptionWarning()
    {
        QFETCH(bool, moved);
        options.EnablePollingMode(true);
        if (moved)
            options.SetBatchCommandPath(dir.path().toStdString());
        const QString before = QDir::currentPath();
        const Command create(Command::NEWPROJECT, {path(QTest::currentDataTag())});
        En::CommandExecutor executor(options);
        MessageCapture capture;
        QCOMPARE(executor.ExecuteCmd(create, false, true), 0u);
        const Command open(Command::SETPROJECT, {openFile()});
        QCOMPARE(manager()->NewProject(path("open")), 0u);
        QCOMPARE(executor.ExecuteCmd(open, false, true), 0u);
        QCOMPARE(openFile(), open.GetArguments()[0]);
        QCOMPARE(QDir::currentPath(), before);
        QStringList expected;
        for (const Command& command : {create, open}) {
            expected << QString(
                            "WARNING:enkit:En_CommandExecutor - Command \"%1\" has been "
                            "encountered while the -p flag is set\n")
                            .arg(command.ToString().c_str());
        }
        QCOMPARE(capture.textLines().filter("-p flag"), moved ? expected : QStringList());
    }

    // END stops nothing here: ending the run is the caller's business.
    void endCommand_data()
    {
        QTest::addColumn<bool>("polling");
        QTest::addColumn<QStringList>("said");
        QTest::newRow("interactive") << false << QStringList();
        QTest::newRow("polling") << true
                                 << QStringList{
                                        "STATUS:enkit:En_CommandExecutor - The END command "
                                        "has been encountered, stopping batch file "
                                        "execution.\n"};
    }

    void endCommand()
    {
        QFETCH(bool, polling);
        QFETCH(QStringList, said);
        options.EnableBatchMode(false);
        options.EnablePollingMode(polling);
        En::CommandExecutor executor(options);
        MessageCapture capture;
        QCOMPARE(executor.ExecuteCmd(Command(Command::END, {}), false, true), 0u);
        QCOMPARE(capture.textLines(), said);
    }

    // Only the run with (false, true) hands the options to the open project, before the
    // engine runs (and here refuses) the generation.
    void generationHandsOverOptions_data()
    {
        QTest::addColumn<bool>("first");
        QTest::addColumn<bool>("second");
        QTest::newRow("true, false") << true << false;
        QTest::newRow("false, true") << false << true;
        QTest::newRow("true, true") << true << true;
    }

    void generationHandsOverOptions()
    {
        QFETCH(bool, first);
        QFETCH(bool, second);
        En::CommandExecutor executor(options);
        startFrom(executor, "VHDL");
        QCOMPARE(
            executor.ExecuteCmd(Command(Command::SET, {"DesignEntry", "Verilog"}), first, second),
            0u);
        QVERIFY(executor.ExecuteCmd(Command(Command::GENERATE, {}), first, second) != 0);
        QCOMPARE(designEntry(*manager()->GetProjectOptions()),
                 Port::String(second && !first ? "Verilog" : "VHDL"));
    }
};

QTEST_MAIN(tst_CommandExecutor)
#include "tst_commandexecutor.moc"
