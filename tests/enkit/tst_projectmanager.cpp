#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <stdexcept>

#include "En_FamilySupportThread.h"
#include "En_Global.h"
#include "En_ProjectManager.h"
#include "En_ProjectManager_p.h"
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

// A catalogue whose refresh fails by throwing.
class ThrowingRepository final : public SimC::IRepositoryManager {
public:
    unsigned long AddRef() override { return ++references; }
    unsigned long Release() override
    {
        const unsigned long left = --references;
        if (left == 0)
            delete this;
        return left;
    }
    unsigned QueryInterface(const char*, CitP::Interface** out) override
    {
        *out = nullptr;
        return 1;
    }
    void SetStartup(bool) override {}
    unsigned RefreshAllRepositories() override { throw std::runtime_error("catalogue lost"); }

private:
    std::atomic<unsigned long> references{1};
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

    void refreshReleasesTheBusyNotification_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<bool>("refreshed");
        QTest::newRow("engine") << "engine" << true;
        QTest::newRow("no engine") << "none" << true;
        QTest::newRow("refresh throws") << "throwing" << false;
    }

    // The notification is removed on every way out, so the GUI never stays busy.
    void refreshReleasesTheBusyNotification()
    {
        QFETCH(QString, engine);
        QFETCH(bool, refreshed);
        const CitP::Ref<SimC::IRepositoryManager> real =
            En::ProjectManagerSeam::Repository(*manager);
        if (engine == "none")
            En::ProjectManagerSeam::Repository(*manager).reset();
        else if (engine == "throwing")
            En::ProjectManagerSeam::Repository(*manager) =
                CitP::Ref<SimC::IRepositoryManager>::Adopt(new ThrowingRepository);
        QSignalSpy add(manager, &ProjectManager::AddBusyNotification);
        QSignalSpy remove(manager, &ProjectManager::RemoveBusyNotification);
        QSignalSpy done(manager, &ProjectManager::RepositoryRefreshed);
        bool thrown = false;
        try {
            manager->RefreshAllRepositories();
        } catch (const std::runtime_error&) {
            thrown = true;
        }
        En::ProjectManagerSeam::Repository(*manager) = real;
        QCOMPARE(thrown, !refreshed);
        QCOMPARE(add.count(), 1);
        QCOMPARE(remove.count(), 1);
        QCOMPARE(done.count(), refreshed ? 1 : 0);
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
        QCOMPARE(TestFiles::entries(dir->path()), QStringList("board.gtcfg"));
        manager->CloseProject();
        QCOMPARE(manager->SetProject(portPath(file)), 0u);
    }

    void failedNewProjectKeepsTheFile_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QByteArray>("message");  // %1: the file's path
        QTest::newRow("save refused: name not UTF-8")
            << QByteArray("caf\xe9.gtcfg")
            << QByteArray("ERROR:enkit:En_ProjectManager - Could not save project %1\n");
        QTest::newRow("no free name to move it aside")
            << QByteArray(245, 'x') + ".gtcfg"
            << QByteArray(
                   "ERROR:enkit:En_ProjectManager - Cannot create project %1: the "
                   "existing file cannot be moved aside\n");
    }

    // Creating over an existing file deleted it before the new project existed.
    void failedNewProjectKeepsTheFile()
    {
        QFETCH(QByteArray, name);
        QFETCH(QByteArray, message);
        const std::string file = absolute(dir->path()).toStdString() + "/" + name.toStdString();
        const QByteArray content("the user's own\x01\xff bytes");
        QVERIFY(TestFiles::writeBytes(file, content));
        MessageCapture capture;
        QCOMPARE(manager->NewProject(file), 1u);
        QVERIFY(!manager->ProjectOpen());
        QCOMPARE(TestFiles::readBytes(file), content);
        QCOMPARE(TestFiles::entries(dir->path()).size(), 1);
        const std::vector<std::string> lines = capture.lines();
        QVERIFY2(std::count(lines.begin(), lines.end(),
                            QByteArray(message).replace("%1", file.c_str()).toStdString()) == 1,
                 qPrintable(capture.textLines().join("")));
        std::remove(file.c_str());  // Qt cannot name it to clean up
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
        QTest::addColumn<QStringList>("taken");  // files beside it before the migration
        QTest::addColumn<QString>("aside");      // where the earlier migration is kept
        const QByteArray options =
            "SET DeviceFamily = alpha\nSET Device = a10\nSET Package = p1\n"
            "SET SpeedGrade = -1\n";
        const QByteArray gtp = options +
                               "SELECT \"core\" pellor test 1.0\n"
                               "CSET component_name = rx_core\nEND\n";
        QTest::newRow("first migration") << "radio.gtp" << gtp << QStringList() << QString();
        QTest::newRow("deprecated, any letter case")
            << "radio.GPR"
            << QByteArray(
                   "DeviceFamily=alpha\nDevice=a10\nPackage=p1\nSpeedGrade=-1\n"
                   "component rx_core pellor:test:core:1.0\n")
            << QStringList() << QString();
        QTest::newRow("legacy newer than its migration")
            << "radio.gtp" << gtp << QStringList{"radio.gtcfg"} << "radio.gtcfg.previous";
        QTest::newRow("aside names taken")
            << "radio.gtp" << gtp
            << QStringList{"radio.gtcfg", "radio.gtcfg.previous", "radio.gtcfg.previous-2"}
            << "radio.gtcfg.previous-3";
    }

    // The legacy file is migrated beside it and opened; the caption keeps the legacy name.
    // An earlier, older migration is kept under a name that replaces nothing.
    void migration()
    {
        QFETCH(QString, legacyName);
        QFETCH(QByteArray, legacy);
        QFETCH(QStringList, taken);
        QFETCH(QString, aside);
        const QString file = absolute(dir->filePath(legacyName));
        const QString migrated = absolute(dir->filePath("radio.gtcfg"));
        for (const QString& name : taken) {
            TestFiles::write(dir->filePath(name), name.toUtf8());
            QVERIFY(TestFiles::age(dir->filePath(name), 3600));
        }
        TestFiles::write(file, legacy);
        MessageCapture capture;
        QCOMPARE(manager->SetProject(portPath(file)), 0u);
        QCOMPARE(manager->GetProject()->GetFullFileName(), portPath(migrated));
        QCOMPARE(manager->GetProject()->GetIpList().size(), 1);
        QCOMPARE(manager->GetCaption(),
                 QDir::toNativeSeparators(absolute(dir->filePath("radio.gtp"))));
        for (const QString& name : taken.mid(1))
            QCOMPARE(TestFiles::read(dir->filePath(name)), name.toUtf8());
        if (aside.isEmpty()) {
            QVERIFY(capture.textLines().isEmpty());
            return;
        }
        QCOMPARE(TestFiles::read(dir->filePath(aside)), QByteArray("radio.gtcfg"));
        QCOMPARE(capture.textLines(),
                 QStringList("WARNING:enkit:En_ProjectManager - Migrated " + file +
                             " again; the earlier " + migrated + " is kept as " +
                             absolute(dir->filePath(aside)) + "\n"));
    }

    void reopenThroughPreviousName_data()
    {
        QTest::addColumn<QString>("created");
        QTest::newRow("migrated, edited and saved") << "radio.gtp";
        QTest::newRow("new project, legacy file never written") << "radio.gtcfg";
    }

    // The recorded name is the legacy one: reopening it must open the configuration file
    // saved since, not migrate the legacy file over it.
    void reopenThroughPreviousName()
    {
        QFETCH(QString, created);
        const QString file = dir->filePath(created);
        if (created.endsWith(".gtp")) {
            TestFiles::write(file,
                             "SET DeviceFamily = alpha\nSET Device = a10\nSET Package = p1\n"
                             "SET SpeedGrade = -1\n");
            QCOMPARE(manager->SetProject(portPath(file)), 0u);
        } else {
            QCOMPARE(manager->NewProject(portPath(file)), 0u);
        }
        Ipu::ProjectOptions options = *manager->GetProjectOptions();
        options.SetSpeedGrade("-2");
        QCOMPARE(manager->SetProjectOptions(options), 0u);
        QCOMPARE(manager->SaveProject(), 0u);
        manager->CloseProject();

        MessageCapture capture;
        const QString previous = manager->GetPreviousProjectName();
        QCOMPARE(previous, absolute(dir->filePath("radio.gtp")));
        QCOMPARE(manager->SetProject(portPath(previous)), 0u);
        QCOMPARE(manager->GetProject()->GetFullFileName(),
                 portPath(absolute(dir->filePath("radio.gtcfg"))));
        QCOMPARE(manager->GetProjectOptions()->GetPelPart().GetSpeedGrade(), Port::String("-2"));
        QVERIFY2(capture.textLines().isEmpty(), qPrintable(capture.textLines().join("")));
        QCOMPARE(TestFiles::entries(dir->path()).filter("previous"), QStringList());
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
        TestFiles::age(migrated, 3600);
        MessageCapture capture;
        SignalLog log(manager);
        QCOMPARE(manager->SetProject(portPath(file)), 1u);
        QVERIFY(!manager->ProjectOpen());
        QVERIFY(capture.textLines().contains("ERROR:enkit:En_ProjectManager - " +
                                             message.arg(file, migrated)));
        QCOMPARE(log.names, opened);
        if (!directoryInTheWay) {
            QCOMPARE(TestFiles::read(migrated), QByteArray("an earlier migration"));
            QCOMPARE(TestFiles::entries(dir->path()), QStringList({"radio.gtcfg", "radio.gtp"}));
        }
    }

    void earlierMigrationThatCannotBeMoved_data()
    {
        QTest::addColumn<QString>("base");
        QTest::addColumn<bool>("lockDirectory");
        QTest::newRow("directory not writable") << "radio" << true;
        QTest::newRow("no free name to move it aside") << QString(245, 'x') << false;
    }

    void earlierMigrationThatCannotBeMoved()
    {
        QFETCH(QString, base);
        QFETCH(bool, lockDirectory);
        if (lockDirectory && geteuid() == 0)
            QSKIP("as root every file can be moved: the refusal cannot be staged");
        const QString file = absolute(dir->filePath(base + ".gtp"));
        const QString migrated = absolute(dir->filePath(base + ".gtcfg"));
        TestFiles::write(file, "SET DeviceFamily = alpha\n");
        TestFiles::write(migrated, "an earlier migration");
        QVERIFY(TestFiles::age(migrated, 3600));
        if (lockDirectory)
            QFile::setPermissions(dir->path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        MessageCapture capture;
        QCOMPARE(manager->SetProject(portPath(file)), 1u);
        QFile::setPermissions(
            dir->path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        QCOMPARE(capture.textLines(),
                 QStringList("ERROR:enkit:En_ProjectManager - Unable to migrate " + file +
                             " - cannot overwrite existing migration " + migrated + "\n"));
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
