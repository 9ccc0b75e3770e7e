#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

#include "En_FamilySupportThread.h"
#include "En_Global.h"
#include "En_ProjectManager.h"
#include "Ipu_ElementIndex.h"
#include "MessageCapture.h"
#include "Sim_UserSettings.h"
#include "TestCatalog.h"
#include "TestEnvironment.h"
#include "TestFiles.h"

using En::ProjectManager;

namespace {

Port::String portPath(const QString& path)
{
    return path.toStdString();
}

QString absolute(const QString& path)
{
    return QFileInfo(path).absoluteFilePath();
}

// Records the manager's project signals by name, in the order they come.
class SignalLog : public QObject {
public:
    explicit SignalLog(ProjectManager* manager)
    {
        connect(manager, &ProjectManager::ProjectOptionsChanged, this,
                [this] { names << "ProjectOptionsChanged"; });
        connect(manager, &ProjectManager::ProjectStateHasChanged, this,
                [this] { names << "ProjectStateHasChanged"; });
        connect(manager, &ProjectManager::SelectProject, this,
                [this] { names << "SelectProject"; });
    }
    QStringList names;
};

const QStringList opened{"ProjectOptionsChanged", "ProjectStateHasChanged", "SelectProject"};

}  // namespace

class tst_ProjectManager : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnvironment> environment;
    std::unique_ptr<QTemporaryDir> dir;
    ProjectManager* manager = nullptr;
    // Made with the manager: the catalogue refresh it queues may run at any later turn.
    std::unique_ptr<QSignalSpy> added, removed, refreshed;

private slots:
    void initTestCase()
    {
        environment = std::make_unique<TestEnvironment>();
        environment->addToCatalog(
            "core.xml", TestCatalog::toXml(TestCatalog::Component("core").withFamilies({"alpha"})));
        manager = ProjectManager::GetInstance();
        added = std::make_unique<QSignalSpy>(manager, &ProjectManager::AddBusyNotification);
        removed = std::make_unique<QSignalSpy>(manager, &ProjectManager::RemoveBusyNotification);
        refreshed = std::make_unique<QSignalSpy>(manager, &ProjectManager::RepositoryRefreshed);
        QVERIFY2(!ProjectManager::GetFamilySupportThread().isRunning() &&
                     !ProjectManager::GetFamilySupportThread().isFinished(),
                 "batch mode loads the families at once, without the thread");
        QVERIFY(ProjectManager::GetInstance() == manager);
    }

    void catalogueLoadsWhenTheEventLoopRuns()
    {
        QVERIFY(refreshed->count() == 1 || refreshed->wait(5000));
        QCOMPARE(added->count(), 1);
        QCOMPARE(removed->count(), 1);
        const auto busy = added->first().first().value<En::BusyNotificationObject>();
        QCOMPARE(busy.Message(), QString("Loading IP Catalog"));
        QVERIFY(busy == removed->first().first().value<En::BusyNotificationObject>());
        QVERIFY(Ipu::ElementIndex::HasElement("pellor:test:core:1.0"));
    }

    void init()
    {
        dir = std::make_unique<QTemporaryDir>();
        En::Global::_batchCommandRuntimeOptions.EnableBatchMode(false);
        En::Global::_batchCommandRuntimeOptions.EnablePollingMode(false);
    }

    void cleanup() { manager->CloseProject(); }

    void noProject()
    {
        QVERIFY(!manager->ProjectOpen());
        QVERIFY(manager->GetProjectOptions() != nullptr);
        QVERIFY(manager->GetCaption().isEmpty());
        SignalLog log(manager);
        QCOMPARE(manager->SaveProject(), 1u);
        QCOMPARE(log.names, QStringList({"ProjectOptionsChanged", "ProjectStateHasChanged"}));
    }

    void newProjectOverExistingFile()
    {
        const QString file = dir->filePath("board.gtcfg");
        TestFiles::write(file, "not a project");
        SignalLog log(manager);
        QCOMPARE(manager->NewProject(portPath(file)), 0u);
        QVERIFY(manager->ProjectOpen());
        QVERIFY(manager->ProjectOptionsValid());
        QCOMPARE(log.names,
                 QStringList({"ProjectOptionsChanged", "ProjectStateHasChanged",
                              "ProjectStateHasChanged", "SelectProject", "ProjectOptionsChanged"}));
        QVERIFY2(TestFiles::read(file).contains("<"),
                 "the old file was replaced by the new project");
        manager->CloseProject();
        QCOMPARE(manager->SetProject(portPath(file)), 0u);
    }

    void reopeningTheOpenProject()
    {
        const QString file = dir->filePath("board.gtcfg");
        QCOMPARE(manager->NewProject(portPath(file)), 0u);
        const En::Project* open = manager->GetProject().get();
        manager->SetProjectSaveNeeded(true);
        SignalLog log(manager);
        QCOMPARE(manager->SetProject(portPath(file)), 0u);
        QCOMPARE(manager->GetProject().get(), open);
        QVERIFY2(manager->ProjectSaveNeeded(), "unsaved changes stay");
        QCOMPARE(log.names, opened);
    }

    void unknownExtension()
    {
        QCOMPARE(manager->NewProject(portPath(dir->filePath("board.gtcfg"))), 0u);
        manager->SetProjectSaveNeeded(true);
        const QString file = dir->filePath("notes.txt");
        TestFiles::write(file, "text");
        MessageCapture capture;
        SignalLog log(manager);
        QCOMPARE(manager->SetProject(portPath(file)), 1u);
        QVERIFY(!manager->ProjectOpen());
        QVERIFY(!manager->ProjectSaveNeeded());
        QCOMPARE(capture.textLines(),
                 QStringList("ERROR:enkit:En_ProjectManager - Unrecognized file "
                             "type - cannot open project " +
                             absolute(file) + "\n"));
        QCOMPARE(log.names, QStringList({"ProjectStateHasChanged", "SelectProject"}) + opened);
    }

    void captionShowsUnsavedChanges()
    {
        const QString file = dir->filePath("board.gtcfg");
        QCOMPARE(manager->NewProject(portPath(file)), 0u);
        const QString legacy = QDir::toNativeSeparators(absolute(dir->filePath("board.gtp")));
        QCOMPARE(manager->GetCaption(), legacy);

        Ipu::ProjectOptions options = *manager->GetProjectOptions();
        options.SetSpeedGrade("-2");
        QCOMPARE(manager->SetProjectOptions(options), 0u);
        QCOMPARE(manager->GetCaption(), legacy + "*");
        QCOMPARE(manager->SaveProject(), 0u);
        QCOMPARE(manager->GetCaption(), legacy);
        QCOMPARE(manager->GetProjectOptions()->GetPelPart().GetSpeedGrade(), Port::String("-2"));
    }

    void invalidOptionsAreRefused()
    {
        QCOMPARE(manager->NewProject(portPath(dir->filePath("board.gtcfg"))), 0u);
        Ipu::ProjectOptions options = *manager->GetProjectOptions();
        options.SetSpeedGrade("-9");
        MessageCapture capture;
        QCOMPARE(manager->SetProjectOptions(options), 1u);
        QVERIFY(capture.textLines().isEmpty());
        QVERIFY(!manager->ProjectSaveNeeded());
        QVERIFY(manager->GetProjectOptions()->GetPelPart().GetSpeedGrade() != "-9");
    }

    void migration_data()
    {
        QTest::addColumn<QString>("legacyName");
        QTest::addColumn<QByteArray>("legacy");
        const QByteArray options =
            "SET DeviceFamily = alpha\nSET Device = a10\nSET Package = p1\n"
            "SET SpeedGrade = -1\n";
        QTest::newRow("legacy") << "radio.gtp"
                                << options +
                                       "SELECT \"core\" pellor test 1.0\n"
                                       "CSET component_name = rx_core\nEND\n";
        QTest::newRow("deprecated, any letter case")
            << "radio.GPR"
            << QByteArray(
                   "DeviceFamily=alpha\nDevice=a10\nPackage=p1\nSpeedGrade=-1\n"
                   "component rx_core pellor:test:core:1.0\n");
    }

    // The legacy file is migrated beside it, replacing an earlier migration, and opened;
    // the caption keeps the legacy name.
    void migration()
    {
        QFETCH(QString, legacyName);
        QFETCH(QByteArray, legacy);
        const QString file = dir->filePath(legacyName);
        TestFiles::write(file, legacy);
        const QString migrated = dir->filePath("radio.gtcfg");
        TestFiles::write(migrated, "an earlier migration");
        QCOMPARE(manager->SetProject(portPath(file)), 0u);
        QVERIFY(manager->ProjectOpen());
        QCOMPARE(manager->GetProject()->GetFullFileName(), portPath(absolute(migrated)));
        QCOMPARE(manager->GetProject()->GetIpList().size(), 1);
        QCOMPARE(manager->GetCaption(),
                 QDir::toNativeSeparators(absolute(dir->filePath("radio.gtp"))));
        QVERIFY(!QFile::exists(migrated + ".previous"));
    }

    void migrationRefused_data()
    {
        QTest::addColumn<bool>("directoryInTheWay");
        QTest::addColumn<QString>("message");
        QTest::newRow("directory in the way")
            << true << "Unable to migrate %1 - name clash with directory %2\n";
        QTest::newRow("migrate operation fails") << false << "Unable to migrate %1 to %2\n";
    }

    // Nothing is opened, and an earlier migration survives a failed one.
    void migrationRefused()
    {
        QFETCH(bool, directoryInTheWay);
        QFETCH(QString, message);
        const QString file = absolute(dir->filePath("radio.gtp"));
        const QString migrated = absolute(dir->filePath("radio.gtcfg"));
        TestFiles::write(file, "SELECT \"core\" pellor test\n");  // a malformed line
        if (directoryInTheWay)
            QDir().mkpath(migrated);
        else
            TestFiles::write(migrated, "an earlier migration");
        MessageCapture capture;
        SignalLog log(manager);
        QCOMPARE(manager->SetProject(portPath(file)), 1u);
        QVERIFY(!manager->ProjectOpen());
        QVERIFY(capture.textLines().contains("ERROR:enkit:En_ProjectManager - " +
                                             message.arg(file, migrated)));
        QCOMPARE(log.names, opened);
        if (!directoryInTheWay)
            QCOMPARE(TestFiles::read(migrated), QByteArray("an earlier migration"));
    }

    void earlierMigrationThatCannotBeMoved()
    {
        if (geteuid() == 0)
            QSKIP("as root every file can be moved: the refusal cannot be staged");
        const QString file = absolute(dir->filePath("radio.gtp"));
        const QString migrated = absolute(dir->filePath("radio.gtcfg"));
        TestFiles::write(file, "SET DeviceFamily = alpha\n");
        TestFiles::write(migrated, "an earlier migration");
        QFile::setPermissions(dir->path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        MessageCapture capture;
        QCOMPARE(manager->SetProject(portPath(file)), 1u);
        QFile::setPermissions(
            dir->path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        QVERIFY(capture.textLines().contains("ERROR:enkit:En_ProjectManager - Unable to migrate " +
                                             file + " - cannot overwrite existing migration " +
                                             migrated + "\n"));
        QCOMPARE(TestFiles::read(migrated), QByteArray("an earlier migration"));
    }

    void previousProjectRecording_data()
    {
        QTest::addColumn<bool>("batch");
        QTest::addColumn<bool>("polling");
        QTest::addColumn<bool>("recorded");
        QTest::newRow("interactive") << false << false << true;
        QTest::newRow("polling") << false << true << true;
        QTest::newRow("batch") << true << false << false;
    }

    void previousProjectRecording()
    {
        QFETCH(bool, batch);
        QFETCH(bool, polling);
        QFETCH(bool, recorded);
        Sim::UserSettings::SetPreviousProjectName("/elsewhere/old.gtp");
        En::Global::_batchCommandRuntimeOptions.EnableBatchMode(batch);
        En::Global::_batchCommandRuntimeOptions.EnablePollingMode(polling);
        QCOMPARE(manager->NewProject(portPath(dir->filePath("board.gtcfg"))), 0u);
        const QString expected =
            recorded ? absolute(dir->filePath("board.gtp")) : "/elsewhere/old.gtp";
        QCOMPARE(manager->GetPreviousProjectName(), expected);
        QVERIFY(manager->PreviousProjectAvailable());
        QCOMPARE(manager->GetRecentProjects().first(), expected);
    }
};

QTEST_GUILESS_MAIN(tst_ProjectManager)
#include "tst_projectmanager.moc"
