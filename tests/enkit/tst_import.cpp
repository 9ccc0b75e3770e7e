#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <boost/pointer_cast.hpp>
#include <functional>

#include "En_Action.h"
#include "En_ActionManager.h"
#include "En_ActionMutexSingleton.h"
#include "En_ImportedIpFile.h"
#include "En_IpCompatibilityChecker.h"
#include "En_Project.h"
#include "En_ProjectManager.h"
#include "Ipu_ElementIndex.h"
#include "Ipu_IPComponent.h"
#include "Ipu_TaskMutexSingleton.h"
#include "MessageCapture.h"
#include "Sim_Customizer.h"
#include "Sim_UserSettings.h"
#include "TestEnvironment.h"
#include "TestFiles.h"

using En::ActionManager;

namespace {

// Answers the modal dialogs the import opens, in turn: a file dialog gets the file named
// (or is cancelled when the name is empty), a message box Yes or No.
class ModalAnswerer : public QObject {
public:
    explicit ModalAnswerer(QStringList answers) : answers(std::move(answers))
    {
        connect(&timer, &QTimer::timeout, this, &ModalAnswerer::answer);
        timer.start(10);
    }
    QStringList asked;

private:
    void answer()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || answers.isEmpty())
            return;
        const QString reply = answers.takeFirst();
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            asked << box->text();
            box->button(reply == "yes" ? QMessageBox::Yes : QMessageBox::No)->click();
        } else if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
            asked << dialog->windowTitle();
            if (reply.isEmpty()) {
                dialog->reject();
            } else {
                dialog->findChild<QLineEdit*>("fileNameEdit")->setText(reply);
                QMetaObject::invokeMethod(dialog, "accept");
            }
        }
    }
    QStringList answers;
    QTimer timer;
};

// Accepts the values a customized IP file brought.
class KeepValues : public Sim::Customizer {
public:
    bool Customize(Ipu::IPComponent&, const Ipu::ProjectOptions&,
                   const std::vector<Port::String>&) override
    {
        return true;
    }
};

Port::String P(const QString& text)
{
    return text.toStdString();
}

QString Text(const QString& path)
{
    return QString::fromUtf8(TestFiles::read(path));
}

}  // namespace

class tst_Import : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnvironment> environment;
    QTemporaryDir dir;

    static ActionManager* manager() { return ActionManager::GetInstance(); }
    static En::Project& project() { return *En::ProjectManager::GetInstance()->GetProject(); }
    QString in(const QString& folder, const QString& file = QString()) const
    {
        return dir.filePath(file.isEmpty() ? folder : folder + '/' + file);
    }

    // A new project in its own folder, targeting the family given.
    static bool open(const QString& folder, const char* family)
    {
        QDir().mkpath(folder);
        if (En::ProjectManager::GetInstance()->NewProject(P(folder + "/p.gtcfg")) != 0)
            return false;
        Ipu::ProjectOptions options = *En::ProjectManager::GetInstance()->GetProjectOptions();
        const bool second = QByteArray(family) == "tellara2";
        options.SetDeviceFamily(family);
        options.SetDevice(second ? "tl2x100" : "tl3c100");
        options.SetPackage("gb256");
        options.SetSpeedGrade(second ? "-5" : "-2");
        options.SetOutputDirectory(P(folder));
        En::ProjectManager::GetInstance()->SetProjectOptions(options);
        // The host passes the project's changes on; here the test does.
        manager()->ProjectChanged();
        En::IpCompatibilityChecker::GetInstance()->Refresh();
        return true;
    }

    // Waits until every action the last step started has ended and released its locks.
    static bool settled(const QSignalSpy& added, const QSignalSpy& removed)
    {
        return QTest::qWaitFor(
            [&] {
                return added.size() == removed.size() && !Ipu::TaskMutexSingleton::IsLocked() &&
                       !En::ActionMutexSingleton::IsLocked();
            },
            20000);
    }

    // Imports the file into the open project and waits for what it started.
    static ActionManager::ImportResult import(const QString& file)
    {
        QSignalSpy added(manager(), &ActionManager::AddBusyNotification);
        QSignalSpy removed(manager(), &ActionManager::RemoveBusyNotification);
        const ActionManager::ImportResult result = manager()->ImportFile(project(), file);
        return settled(added, removed) ? result : ActionManager::NOT_DELIVERED;
    }

    // Generates a catalogue IP into the open project through its batch file.
    bool generate(const char* key, const QString& name, const QString& cset)
    {
        const auto ip =
            boost::dynamic_pointer_cast<Ipu::IPComponent>(Ipu::ElementIndex::GetElement(key));
        const QString gtc = dir.filePath("make.gtc");
        TestFiles::write(gtc, QStringLiteral("SELECT \"%1\" %2 %3 %4\nCSET component_name = "
                                             "%5\n%6\nGENERATE\n")
                                  .arg(ip->GetUnconfiguredDisplayName().c_str(),
                                       ip->GetIdentifier().GetVendor().c_str(),
                                       ip->GetIdentifier().GetLibrary().c_str(),
                                       ip->GetIdentifier().GetVersion().c_str(), name, cset)
                                  .toUtf8());
        return import(gtc) == ActionManager::IMPORTED && project().HasIP(P(name));
    }

private slots:
    void initTestCase()
    {
        environment = std::make_unique<TestEnvironment>();
        TestEnvironment::useShippedData();
        QVERIFY(TestEnvironment::waitForCatalog());
        Sim::Customizer::SetCurrent(std::make_shared<KeepValues>());
        Sim::UserSettings::SetOverwriteOutputFiles(true);
        QVERIFY(open(in("a"), "tellara2"));
        QVERIFY(generate("pellor:ip:counter_binary:1.1", "imp_counter", "CSET WIDTH = 5"));
        QVERIFY(open(in("f"), "tellara3"));
        QVERIFY(generate("pellor:ip:fifo_async:1.2", "imp_fifo", ""));
    }

    void cleanup()
    {
        QVERIFY(!Ipu::TaskMutexSingleton::IsLocked());
        QVERIFY(!En::ActionMutexSingleton::IsLocked());
    }

    // The file is only read; status 1 for what gives no IP, and a checksum that no longer
    // matches marks the IP as edited by hand.
    void readsCommandFiles_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("edit");
        QTest::addColumn<unsigned>("status");
        QTest::addColumn<bool>("edited");
        QTest::newRow("gtc") << "x.gtc"
                             << "" << 0u << false;
        QTest::newRow("upper-case extension") << "X.GTC"
                                              << "" << 0u << false;
        QTest::newRow("wizard parameter file") << "x.Gtq"
                                               << "" << 0u << false;
        QTest::newRow("hand-edited") << "x.gtc"
                                     << "WIDTH = 6" << 0u << true;
        QTest::newRow("no checksum line") << "x.gtc"
                                          << "drop" << 0u << false;
        QTest::newRow("other extension") << "x.txt"
                                         << "" << 1u << false;
        QTest::newRow("not commands") << "x.gtc"
                                      << "garbage" << 1u << false;
        QTest::newRow("no IP selected") << "x.gtc"
                                        << "comments" << 1u << false;
    }

    void readsCommandFiles()
    {
        QFETCH(QString, name);
        QFETCH(QString, edit);
        QFETCH(unsigned, status);
        QFETCH(bool, edited);
        QString text = Text(in("a", "imp_counter.gtc"));
        if (edit == "drop")
            text.truncate(text.lastIndexOf("# gantrel-checksum"));
        else if (edit == "garbage")
            text = "\x01\x02 not a command\n";
        else if (edit == "comments")
            text = "# nothing but a comment\n";
        else if (!edit.isEmpty())
            text.replace("WIDTH = 5", edit);
        const QString file = in("a", name);
        TestFiles::write(file, text.toUtf8());
        const QByteArray before = TestFiles::read(in("a", "p.gtcfg"));
        Ipu::CustomizedIP cip;
        QCOMPARE(
            En::ImportedIpFile::CreateCustomizedIpFromFile(Ipu::RuntimeOptions(), P(file), cip),
            status);
        QCOMPARE(TestFiles::read(in("a", "p.gtcfg")), before);
        if (status != 0)
            return;
        QCOMPARE(cip.GetIPComponent()->GetName(), Port::String("imp_counter"));
        QCOMPARE(cip.GetIPComponent()->IsFileModifiedByUser(), edited);
        Ipu::Parameters parameters;
        QCOMPARE(cip.GetParameters(parameters), 0u);
        QCOMPARE(parameters.GetList()[0].value, Port::String(edited ? "6" : "5"));
        Ipu::ProjectOptions options;
        QCOMPARE(cip.GetProjectOptions(options), 0u);
        Port::String family;
        options.GetDeviceFamily(family);
        QCOMPARE(family, Port::String("tellara2"));
    }

    // The file name reaches the utility as one argument: quotes, blanks and shell syntax
    // in it run nothing.
    void readsWizardFiles_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("ipName");
        QTest::addColumn<QString>("version");
        const QString core = "wizard_core";
        QTest::newRow("plain") << "design.syv"
                               << "" << core << "3.2";
        QTest::newRow("upper-case extension") << "DESIGN.SYV"
                                              << "" << core << "3.2";
        QTest::newRow("utility missing") << "design.syv"
                                         << "missing"
                                         << "Sylvane"
                                         << "";
        QTest::newRow("says nothing") << "design.syv"
                                      << "silent"
                                      << "Sylvane"
                                      << "";
        QTest::newRow("fails") << "design.syv"
                               << "fail"
                               << "Sylvane"
                               << "";
        QTest::newRow("never ends") << "design.syv"
                                    << "hang"
                                    << "Sylvane"
                                    << "";
        QTest::newRow("floods") << "design.syv"
                                << "flood"
                                << "flooded"
                                << "9.9";
        QTest::newRow("double quote") << "a\"b.syv"
                                      << "" << core << "3.2";
        QTest::newRow("blanks") << "my design.syv"
                                << "" << core << "3.2";
        QTest::newRow("command substitution") << "$(touch ran).syv"
                                              << "" << core << "3.2";
        QTest::newRow("semicolons") << "x\"; touch ran; \".syv"
                                    << "" << core << "3.2";
        QTest::newRow("back quotes") << "`touch ran`.syv"
                                     << "" << core << "3.2";
    }

    void readsWizardFiles()
    {
        QFETCH(QString, name);
        QFETCH(QString, mode);
        QFETCH(QString, ipName);
        QFETCH(QString, version);
        QTemporaryDir work;
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", mode == "missing" ? QByteArray("/nonexistent")
                                          : QByteArray(SYVINFO_DIR ":") + path);
        qputenv("SYVINFO_MODE", mode.toUtf8());
        qputenv("SYVINFO_LOG", work.filePath("log").toUtf8());
        qputenv("GANTREL_SYVINFO_TIMEOUT_MS", "300");
        const QString file = work.filePath(name);
        TestFiles::write(file, "opaque wizard data");
        Ipu::CustomizedIP cip;
        const unsigned status =
            En::ImportedIpFile::CreateCustomizedIpFromFile(Ipu::RuntimeOptions(), P(file), cip);
        qputenv("PATH", path);
        QCOMPARE(status, 0u);
        const boost::shared_ptr<Ipu::IPComponent> component = cip.GetIPComponent();
        QCOMPARE(QString(component->GetIdentifier().GetName().c_str()), ipName);
        QCOMPARE(QString(component->GetIdentifier().GetVersion().c_str()), version);
        QCOMPARE(QString(component->GetName().c_str()), QFileInfo(file).completeBaseName());
        Ipu::Parameters parameters;
        cip.GetParameters(parameters);
        QCOMPARE(parameters.GetList()[0].value, P(file));
        QVERIFY(!QFile::exists(work.filePath("ran")) && !QFile::exists("ran"));
        if (mode != "missing")
            QCOMPARE(Text(work.filePath("log")), "1\n" + file + "\n");
    }

    // Into a project with another part the IP is recustomized there, with its values.
    void recustomizesForTheProject()
    {
        QVERIFY(open(in("b"), "tellara3"));
        QCOMPARE(import(in("a", "imp_counter.gtc")), ActionManager::IMPORTED);
        QVERIFY(project().HasIP("imp_counter"));
        const QString gtc = Text(in("b", "imp_counter.gtc"));
        QVERIFY2(gtc.contains("SET DeviceFamily = tellara3\n") && gtc.contains("CSET WIDTH = 5\n"),
                 qPrintable(gtc));
        QVERIFY(QFile::exists(in("b", "imp_counter.vhd")));
        QVERIFY(TestFiles::read(in("b", "p.gtcfg")).contains("imp_counter"));

        MessageCapture capture;
        QCOMPARE(import(in("a", "imp_counter.gtc")), ActionManager::NAME_TAKEN);
        QCOMPARE(capture.textLines(),
                 QStringList{"WARNING:enkit:En_ActionManager - Skipping import. The project "
                             "already has an IP with the name 'imp_counter'.\n"});
    }

    // A part the IP does not support: the IP joins the project as it was made, with its
    // customized IP file and no HDL for this part.
    void deliversWhatDoesNotSuit()
    {
        QVERIFY(open(in("c"), "tellara2"));
        QCOMPARE(import(in("f", "imp_fifo.gtc")), ActionManager::IMPORTED);
        QVERIFY(project().HasIP("imp_fifo"));
        QVERIFY(!project().GetIP("imp_fifo").IsEnabled());
        QVERIFY(Text(in("c", "imp_fifo.gtc")).contains("SET DeviceFamily = tellara3\n"));
        QVERIFY(!QFile::exists(in("c", "imp_fifo.vhd")));
    }

    // Hand-edited: the user is asked before the IP is recustomized, and may decline.
    void asksAboutHandEditedFiles_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::newRow("declined") << "no";
        QTest::newRow("accepted") << "yes";
    }

    void asksAboutHandEditedFiles()
    {
        QFETCH(QString, answer);
        QVERIFY(open(in("d" + answer), "tellara3"));
        const QString file = in("d" + answer, "edited.gtc");
        TestFiles::write(file, Text(in("a", "imp_counter.gtc")).replace("= 5", "= 6").toUtf8());
        ModalAnswerer answerer({answer});
        import(file);
        QCOMPARE(answerer.asked.size(), 1);
        QVERIFY(answerer.asked[0].contains("has been altered since it was generated"));
        QCOMPARE(project().HasIP("imp_counter"), answer == "yes");
    }

    // The import action ends when the dialog closes, whatever the user chose.
    void importTask_data()
    {
        QTest::addColumn<bool>("choose");
        QTest::newRow("cancelled") << false;
        QTest::newRow("file chosen") << true;
    }

    void importTask()
    {
        QFETCH(bool, choose);
        const QString folder = in(choose ? "e1" : "e0");
        QVERIFY(open(folder, "tellara3"));
        const QByteArray before = TestFiles::read(folder + "/p.gtcfg");
        QSignalSpy added(manager(), &ActionManager::AddBusyNotification);
        QSignalSpy removed(manager(), &ActionManager::RemoveBusyNotification);
        ModalAnswerer answerer({choose ? in("a", "imp_counter.gtc") : QString()});
        En::Action* action =
            manager()->GetActionMap(project()).value(QString(Ipu::Task::IMPORT_GTC_FILE).toUpper());
        QVERIFY(action != nullptr && action->isEnabled());
        action->trigger();
        QVERIFY(settled(added, removed));
        QCOMPARE(answerer.asked, QStringList{"Import Existing Customised IP"});
        QCOMPARE(project().HasIP("imp_counter"), choose);
        if (!choose)
            QCOMPARE(TestFiles::read(folder + "/p.gtcfg"), before);
    }
};

QTEST_MAIN(tst_Import)
#include "tst_import.moc"
