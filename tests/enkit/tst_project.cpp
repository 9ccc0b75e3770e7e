#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <boost/make_shared.hpp>

#include "En_EndWatchThread.h"
#include "En_Global.h"
#include "En_Project.h"
#include "En_Project_p.h"
#include "Ipu_CustomizedIP.h"
#include "Ipu_ElementIndex.h"
#include "Ipu_IPComponent.h"
#include "Ipu_IPComposite.h"
#include "Ipu_Keyword.h"
#include "Ipu_ProjectOptions.h"
#include "MessageCapture.h"
#include "Sim_FamilySupport.h"
#include "TestCatalog.h"
#include "TestDevices.h"
#include "TestFiles.h"

namespace {

Ipu::ProjectOptions optionsFor(const QString& family, const QString& device, const QString& package,
                               const QString& grade)
{
    Ipu::ProjectOptions options;
    options.SetDeviceFamily(family.toStdString());
    options.SetDevice(device.toStdString());
    options.SetPackage(package.toStdString());
    options.SetSpeedGrade(grade.toStdString());
    return options;
}

std::string summary(const char* family, const char* device, const char* package, const char* grade)
{
    return "WARNING:enkit:En_Project - Project options (family='" + std::string(family) +
           "', device='" + device + "', package='" + package + "', speed grade='" + grade +
           "') are inconsistent, unavailable or incorrectly entered.\n";
}

QString absolute(const QString& path)
{
    return QDir::cleanPath(QDir(path).absolutePath());
}

Port::String portPath(const QString& path)
{
    return path.toStdString();
}

using TestCatalog::Chain;
using TestCatalog::Component;

}  // namespace

class tst_Project : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir;

private slots:
    void initTestCase() { QVERIFY(TestDevices::load()); }

    void init()
    {
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(dir->isValid());
        En::EndWatchThread::Start();
    }

    void cleanup()
    {
        En::EndWatchThread::SetFinished();
        Ipu::ElementIndex::Clear();
    }

    void fullFileName_data()
    {
        QTest::addColumn<QStringList>("existing");
        QTest::addColumn<QString>("given");
        QTest::addColumn<QString>("expected");
        QTest::newRow("new configuration file") << QStringList() << "p/new.gtcfg"
                                                << "p/new.gtcfg";
        QTest::newRow("new legacy file, any case") << QStringList() << "p/old.GTP"
                                                   << "p/old.GTP";
        QTest::newRow("new deprecated file") << QStringList() << "p/old.gpr"
                                             << "p/old.gpr";
        QTest::newRow("existing file of another kind")
            << QStringList{"p/notes.txt"} << "p/notes.txt"
            << "p/notes.txt";
        QTest::newRow("empty directory") << QStringList{"p/"} << "p"
                                         << "p/gantrel.gtcfg";
        QTest::newRow("directory with legacy and deprecated")
            << QStringList{"p/gantrel.gpr", "p/gantrel.gtp"} << "p"
            << "p/gantrel.gtp";
        QTest::newRow("directory with all three")
            << QStringList{"p/gantrel.gpr", "p/gantrel.gtp", "p/gantrel.gtcfg"} << "p"
            << "p/gantrel.gtcfg";
    }

    void fullFileName()
    {
        QFETCH(QStringList, existing);
        QFETCH(QString, given);
        QFETCH(QString, expected);
        QDir().mkpath(dir->filePath("p"));
        for (const QString& file : existing) {
            if (!file.endsWith('/'))
                TestFiles::write(dir->filePath(file), {});
        }
        const Port::String result = En::Project::GetFullFileName(portPath(dir->filePath(given)));
        QCOMPARE(QString::fromStdString(result.str()), absolute(dir->filePath(expected)));
    }

    void newProjectIsValidAndSaves()
    {
        const QString file = dir->filePath("designs/first.gtcfg");
        {
            En::Project project(Port::FileName(portPath(file)), true);
            QVERIFY(project.IsEnabled());
            QVERIFY2(project.IsValid(), "a new project has the database's default part");
            QCOMPARE(project.GetName(), QString("first"));
            QCOMPARE(project.GetFileName(), QString("first.gtcfg"));
            QVERIFY(project.SaveProject());
        }
        QVERIFY(QFile::exists(file));
        En::Project reopened(Port::FileName(portPath(file)), false);
        QVERIFY(reopened.IsEnabled());
        QVERIFY(!reopened.GetDateModified().isEmpty());
    }

    void missingFileCannotBeOpened()
    {
        MessageCapture capture;
        const QString file = absolute(dir->filePath("absent.gtcfg"));
        En::Project project(Port::FileName(portPath(file)), false);
        QVERIFY(!project.IsEnabled());
        QVERIFY2(capture.textLines().contains("ERROR:enkit:En_Project - Project " + file +
                                              " could not be opened\n"),
                 qPrintable(capture.textLines().join('\n')));
    }

    void names_data()
    {
        QTest::addColumn<QString>("projectName");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("expected");
        QTest::newRow("from the options") << "chip_top"
                                          << "/x/board.gtcfg"
                                          << "chip_top";
        QTest::newRow("from the file") << ""
                                       << "/x/board.gtcfg"
                                       << "board";
        QTest::newRow("default") << ""
                                 << ""
                                 << "gantrel";
    }

    void names()
    {
        QFETCH(QString, projectName);
        QFETCH(QString, file);
        QFETCH(QString, expected);
        auto design = boost::make_shared<Ipu::IPComposite>();
        design->SetProjectFileName(Port::FileName(portPath(file)));
        Ipu::ProjectOptions options;
        options.SetProjectName(portPath(projectName));
        design->SetProjectOptions(options);
        QCOMPARE(En::Project(design).GetName(), expected);
    }

    void addIp()
    {
        En::Project project(Port::FileName(portPath(dir->filePath("p.gtcfg"))), true);
        auto catalogue = TestCatalog::load(Component("fifo").withFamilies({"alpha"}));
        auto first = TestCatalog::customize(catalogue, "my_fifo");
        Ipu::CustomizedIP(first).SetProjectOptions(optionsFor("alpha", "a10", "p1", "-1"));

        MessageCapture capture;
        const auto added = project.AddIP(En::Ip(first));
        QVERIFY(added);
        QCOMPARE(project.CountIP(), 1);
        QVERIFY(project.HasIP(added->GetUniqueID()));
        QVERIFY(project.HasIP("my_fifo"));

        // A second configuration under the same name replaces the first in place.
        auto second = TestCatalog::customize(catalogue, "my_fifo");
        second->SetDescription("second");
        Ipu::CustomizedIP(second).SetProjectOptions(optionsFor("alpha", "a10", "p1", "-1"));
        const auto updated = project.AddIP(En::Ip(second));
        QCOMPARE(updated.get(), added.get());
        QCOMPARE(project.CountIP(), 1);
        QCOMPARE(project.GetIpList().first().GetDescription(), QString("second"));
        QVERIFY2(capture.textLines().isEmpty(), qPrintable(capture.textLines().join('\n')));
    }

    void addIpRefusals()
    {
        En::Project project(Port::FileName(portPath(dir->filePath("p.gtcfg"))), true);
        auto catalogue = TestCatalog::load(Component("fifo"));
        auto nested = boost::make_shared<Ipu::IPComposite>();
        nested->SetName("sub");
        nested->SetUniqueID("nested-design");
        nested->SetProjectFileName(Port::FileName(portPath(dir->filePath("sub.gtcfg"))));
        QCOMPARE(project.GetIPComposite()->AddElement(nested), 0u);

        auto clash = TestCatalog::customize(catalogue, "sub");
        Ipu::CustomizedIP(clash).SetProjectOptions(optionsFor("alpha", "a10", "p1", "-1"));

        MessageCapture capture;
        QVERIFY(!project.AddIP(En::Ip(catalogue)));
        QVERIFY(!project.AddIP(En::Ip(clash)));
        QVERIFY(!En::Project().AddIP(En::Ip(TestCatalog::customize(catalogue, "x"))));
        const QString file = QString::fromStdString(project.GetFullFileName().str());
        QCOMPARE(capture.textLines(),
                 QStringList({"ERROR:enkit:En_Project - Uncustomized IP passed to project.\n",
                              "ERROR:enkit:En_Project - Cannot add IP sub to Design " + file +
                                  ", name clash with hierarchical design " +
                                  absolute(dir->filePath("sub.gtcfg")) + "\n",
                              "ERROR:enkit:En_Project - Cannot add IP to invalid project.\n"}));

        // Projects change only while the application's run is live.
        En::EndWatchThread::SetFinished();
        capture.clear();
        QVERIFY(!project.AddIP(En::Ip(TestCatalog::customize(catalogue, "late"))));
        QVERIFY(capture.textLines().isEmpty());

        QCOMPARE(project.CountIP(), 1);
        QVERIFY2(project.GetIpList().isEmpty(), "nested designs are not IPs");
    }

    // A core whose own options name no available part is added all the same, with the
    // loud check's warnings and one naming the IP and the design.
    void addIpWithInvalidOptionsWarns()
    {
        En::Project project(Port::FileName(portPath(dir->filePath("p.gtcfg"))), true);
        auto core = TestCatalog::customize(TestCatalog::load(Component("fifo")), "odd");
        Ipu::CustomizedIP(core).SetProjectOptions(optionsFor("alpha", "a10", "p2", "-2"));
        MessageCapture capture;
        QVERIFY(project.AddIP(En::Ip(core)));
        const QString file = QString::fromStdString(project.GetFullFileName().str());
        QCOMPARE(capture.textLines(),
                 QStringList({QString::fromStdString(summary("alpha", "a10", "p2", "-2")),
                              "WARNING:enkit:En_Project - Invalid existing device and part "
                              "options for IP odd in design '" +
                                  file + "'\n"}));
    }

    void getIpComponentMessages()
    {
        MessageCapture capture;
        En::Project invalid;
        QVERIFY(!invalid.HasIP(""));
        En::Project project(Port::FileName(portPath(dir->filePath("p.gtcfg"))), true);
        QVERIFY(!project.GetIPComponent(""));
        QVERIFY(!project.GetIP("unknown").GetIPComponent());
        QCOMPARE(
            capture.textLines(),
            QStringList({"ERROR:enkit:En_Project - Cannot get IP from invalid project.\n",
                         "ERROR:enkit:En_Project - Empty IP identifier passed to project.\n"}));
    }

    void memberChecksFollowTheEndWatch()
    {
        En::Project project(Port::FileName(portPath(dir->filePath("p.gtcfg"))), true);
        QCOMPARE(project.SilentlyVerifyProjectOptions(), 0u);
        QCOMPARE(project.VerifyProjectOptions(), 0u);
        En::EndWatchThread::SetFinished();
        QCOMPARE(project.SilentlyVerifyProjectOptions(), 1u);
        QCOMPARE(project.VerifyProjectOptions(), 1u);
        QVERIFY2(project.AreProjectOptionsValid(), "answers from the options, without the gate");
    }

    void setDefaultPart_data()
    {
        QTest::addColumn<QString>("family");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("no family") << "" << QStringList{"alpha", "a10", "p1", "-1"};
        QTest::newRow("family kept") << "beta" << QStringList{"beta", "b5", "q9", "-3"};
    }

    void setDefaultPart()
    {
        QFETCH(QString, family);
        QFETCH(QStringList, expected);
        En::Project project(Port::FileName(portPath(dir->filePath("p.gtcfg"))), true);
        project.SetProjectOptions(optionsFor(family, "", "", ""));
        QCOMPARE(En::ProjectSeam::SetDefaultPart(project), 0u);
        Ipu::ProjectOptions options;
        QCOMPARE(project.GetProjectOptions(options), 0u);
        const Ipu::PelPart part = options.GetPelPart();
        QCOMPARE((QStringList{QString::fromStdString(part.GetFamily().str()),
                              QString::fromStdString(part.GetDevice().str()),
                              QString::fromStdString(part.GetPackage().str()),
                              QString::fromStdString(part.GetSpeedGrade().str())}),
                 expected);
        En::Project empty;
        QCOMPARE(En::ProjectSeam::SetDefaultPart(empty), 1u);
    }

    void projectTasks_data()
    {
        QTest::addColumn<QString>("memberFamily");
        QTest::addColumn<QString>("chainIdentifier");
        QTest::addColumn<QStringList>("tasks");
        const QStringList fixed{"change_project_options", "import_gtc_file"};
        QTest::newRow("regenerable member")
            << "alpha"
            << "generate_current" << QStringList{"regenerate_project"} + fixed;
        QTest::newRow("member not for the part") << "beta"
                                                 << "generate_current" << fixed;
        QTest::newRow("member without the chain") << "alpha"
                                                  << "generate_other" << fixed;
    }

    void projectTasks()
    {
        QFETCH(QString, memberFamily);
        QFETCH(QString, chainIdentifier);
        QFETCH(QStringList, tasks);
        En::Project project(Port::FileName(portPath(dir->filePath("p.gtcfg"))), true);
        project.SetProjectOptions(optionsFor("alpha", "a10", "p1", "-1"));
        auto catalogue = TestCatalog::load(
            Component("core")
                .withFamilies({memberFamily})
                .withChain(Chain("regenerate_current").withIdentifier(chainIdentifier + "_chain")));
        auto member = TestCatalog::customize(catalogue, "mine");
        Ipu::CustomizedIP(member).SetProjectOptions(optionsFor("alpha", "a10", "p1", "-1"));
        QVERIFY(project.AddIP(En::Ip(member)));

        QStringList names;
        for (const Ipu::Task& task : En::ProjectSeam::GetTaskList(project))
            names.append(QString::fromStdString(task.GetInternalName().str()));
        QCOMPARE(names, tasks);
        QCOMPARE(En::ProjectSeam::GetDefaultTask(project).GetInternalName(),
                 Port::String("change_project_options"));
    }

    void failedSaveLeavesNoDirectories_data()
    {
        QTest::addColumn<QByteArray>("file");          // relative to the temporary directory
        QTest::addColumn<QByteArrayList>("messages");  // %1: the temporary directory
        const QByteArray unusable("ERROR:enkit:En_Project - Unable to use project directory '");
        QTest::newRow("file in the way")
            << QByteArray("blocker/sub/p.gtcfg")
            << QByteArrayList{unusable + "%1/blocker/sub'.\n",
                              "WARNING:simc:SimC_ProjectFileWriter - Cannot save project file "
                              "%1/blocker/sub/p.gtcfg: the directory %1/blocker/sub cannot be "
                              "created\n"};
        const QByteArray longName(300, 'd');
        QTest::newRow("directory name too long")
            << "made/" + longName + "/p.gtcfg"
            << QByteArrayList{unusable + "%1/made/" + longName + "'.\n",
                              "WARNING:simc:SimC_ProjectFileWriter - Cannot save project file "
                              "%1/made/" +
                                  longName + "/p.gtcfg: the directory %1/made/" + longName +
                                  " cannot be created\n"};
        QTest::newRow("file name not UTF-8")
            << QByteArray("made/deeper/caf\xe9.gtcfg")
            << QByteArrayList{
                   "WARNING:simc:SimC_ProjectFileWriter - Cannot save project file "
                   "%1/made/deeper/caf\\xe9.gtcfg: the name is not valid UTF-8\n"};
    }

    // Directories made for a save that then fails are taken back; the engine is still asked.
    void failedSaveLeavesNoDirectories()
    {
        QFETCH(QByteArray, file);
        QFETCH(QByteArrayList, messages);
        TestFiles::write(dir->filePath("blocker"), {});
        const std::string root = absolute(dir->path()).toStdString();
        En::Project project(Port::FileName(root + "/" + file.toStdString()), true);
        QVERIFY(project.IsEnabled());
        MessageCapture capture;
        QVERIFY(!project.SaveProject());
        std::vector<std::string> expected;
        for (QByteArray message : messages)
            expected.push_back(message.replace("%1", root.c_str()).toStdString());
        QCOMPARE(capture.lines(), expected);
        QCOMPARE(TestFiles::entries(dir->path()), QStringList("blocker"));
    }

    // The shared project path names the project opened last; each saves beside its own file.
    void eachProjectSavesBesideItsOwnFile()
    {
        const QString first = dir->filePath("one/a.gtcfg");
        const QString second = dir->filePath("two/b.gtcfg");
        En::Project a(Port::FileName(portPath(first)), true);
        En::Project b(Port::FileName(portPath(second)), true);
        QVERIFY(a.SaveProject());
        QVERIFY(b.SaveProject());
        QCOMPARE(TestFiles::entries(dir->filePath("one")), QStringList("a.gtcfg"));
        QCOMPARE(TestFiles::entries(dir->filePath("two")), QStringList("b.gtcfg"));
        En::Project reopened(Port::FileName(portPath(first)), false);
        QCOMPARE(reopened.GetName(), QString("a"));
    }

    // Destroying a copy closes the design in the engine: the data stays readable, but the
    // engine no longer knows the design, so it cannot be saved through the original.
    void destroyedCopyClosesTheDesign()
    {
        En::Project project(Port::FileName(portPath(dir->filePath("p.gtcfg"))), true);
        const Port::String id = project.GetDesignID();
        {
            const En::Project copy(project);
            QCOMPARE(copy.GetDesignID(), id);
        }
        QVERIFY(!Ipu::ElementIndex::HasElement(id));
        QVERIFY(project.IsEnabled());
        QCOMPARE(project.GetName(), QString("p"));
        QVERIFY(project.IsValid());
        QVERIFY(!project.SaveProject());
    }

    void reopeningGivesAFreshDesignID()
    {
        const QString file = dir->filePath("p.gtcfg");
        Port::String firstID;
        {
            En::Project project(Port::FileName(portPath(file)), true);
            QVERIFY(project.SaveProject());
        }
        auto first = std::make_unique<En::Project>(Port::FileName(portPath(file)), false);
        firstID = first->GetDesignID();
        En::Project second(Port::FileName(portPath(file)), false);
        QVERIFY(second.IsEnabled());
        QVERIFY(second.GetDesignID() != firstID);
        first.reset();
        QVERIFY(!Ipu::ElementIndex::HasElement(firstID));
        QVERIFY2(Ipu::ElementIndex::HasElement(second.GetDesignID()),
                 "closing the old opening leaves the new one");
    }

    void verifyProjectOptions_data()
    {
        QTest::addColumn<QStringList>("part");
        QTest::addColumn<unsigned>("result");
        QTest::addColumn<QStringList>("messages");

        const auto warning = [](const char* what) {
            return QString("WARNING:enkit:En_Project - Invalid project options. %1 not set.\n")
                .arg(what);
        };
        QTest::newRow("valid") << QStringList{"alpha", "a10", "p1", "-2"} << 0u << QStringList();
        QTest::newRow("letter case ignored")
            << QStringList{"ALPHA", "A10", "P1", "-2"} << 0u << QStringList();
        QTest::newRow("speed grade not offered for the package")
            << QStringList{"alpha", "a10", "p2", "-2"} << 1u
            << QStringList{QString::fromStdString(summary("alpha", "a10", "p2", "-2"))};
        QTest::newRow("device of another family")
            << QStringList{"beta", "a10", "p1", "-1"} << 1u
            << QStringList{QString::fromStdString(summary("beta", "a10", "p1", "-1"))};
        QTest::newRow("device and package not set")
            << QStringList{"alpha", "", "", "-1"} << 1u
            << QStringList{warning("Device"), warning("Package"),
                           QString::fromStdString(summary("alpha", "", "", "-1"))};
        QTest::newRow("nothing set")
            << QStringList{"", "", "", ""} << 1u
            << QStringList{warning("Family"), warning("Device"), warning("Package"),
                           warning("Speed grade"), QString::fromStdString(summary("", "", "", ""))};
    }

    void verifyProjectOptions()
    {
        QFETCH(QStringList, part);
        QFETCH(unsigned, result);
        QFETCH(QStringList, messages);
        const Ipu::ProjectOptions options = optionsFor(part[0], part[1], part[2], part[3]);

        MessageCapture capture;
        QCOMPARE(En::Project::VerifyProjectOptions(options), result);
        QCOMPARE(capture.textLines(), messages);

        capture.clear();
        QCOMPARE(En::Project::SilentlyVerifyProjectOptions(options), result);
        QVERIFY2(capture.lines().empty(), "the silent check says nothing");
    }

    // The one-entry cache: a repeated part costs one comparison, not a device search.
    void repeatedPartAsksDeviceSupportOnce()
    {
        const Ipu::ProjectOptions first = optionsFor("alpha", "a20", "p2", "-2");
        const Ipu::ProjectOptions second = optionsFor("beta", "b5", "q9", "-3");

        const unsigned long before = Sim::FamilySupport::QueryCount();
        QCOMPARE(En::Project::SilentlyVerifyProjectOptions(first), 0u);
        const unsigned long afterFirst = Sim::FamilySupport::QueryCount();
        QVERIFY(afterFirst > before);
        QCOMPARE(En::Project::SilentlyVerifyProjectOptions(first), 0u);
        QCOMPARE(En::Project::VerifyProjectOptions(first), 0u);
        QCOMPARE(Sim::FamilySupport::QueryCount(), afterFirst);

        QCOMPARE(En::Project::SilentlyVerifyProjectOptions(second), 0u);
        QVERIFY(Sim::FamilySupport::QueryCount() > afterFirst);
    }

    // Regression: two threads verifying at once must not tear the cached part.
    void concurrentChecksAgree()
    {
        const Ipu::ProjectOptions valid = optionsFor("alpha", "a10", "p1", "-1");
        const Ipu::ProjectOptions invalid = optionsFor("alpha", "a10", "p1", "-9");
        std::atomic<int> wrong{0};
        const auto check = [&](const Ipu::ProjectOptions& options, unsigned expected) {
            for (int i = 0; i < 500; ++i)
                wrong += En::Project::SilentlyVerifyProjectOptions(options) != expected;
        };
        std::thread a(check, std::cref(valid), 0u);
        std::thread b(check, std::cref(invalid), 1u);
        a.join();
        b.join();
        QCOMPARE(wrong.load(), 0);
    }
};

QTEST_GUILESS_MAIN(tst_Project)
#include "tst_project.moc"
