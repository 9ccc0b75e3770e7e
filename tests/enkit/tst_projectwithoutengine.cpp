#include <QTemporaryDir>
#include <QtTest>

#include <boost/make_shared.hpp>

#include "CitP_Factory.h"
#include "En_Project.h"
#include "Ipu_IPComposite.h"
#include "Ipu_ProjectOptions.h"
#include "MessageCapture.h"

// A process whose engine component cannot be found: the host says why once at start, so
// projects stay quiet. Its own program, since a loaded component stays loaded.
class tst_ProjectWithoutEngine : public QObject {
    Q_OBJECT

    QTemporaryDir components;  // empty: no engine in it

private slots:
    void initTestCase()
    {
        QVERIFY(components.isValid());
        qputenv("GANTREL_COMPONENT_PATH", components.path().toUtf8());
        QVERIFY(CitP::Factory::LoadLibraryFactory("gantrel_simc") != 0);
        QVERIFY2(!CitP::Factory::LastError().IsEmpty(), "the reason is there for the host");
    }

    void constructorsStayQuiet_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("open") << "open" << false;
        QTest::newRow("create") << "create" << false;
        QTest::newRow("from options, new file") << "options" << false;
        QTest::newRow("from a design") << "design" << true;
    }

    void constructorsStayQuiet()
    {
        QFETCH(QString, how);
        QFETCH(bool, enabled);
        const QTemporaryDir dir;
        const Port::FileName file(dir.filePath("p.gtcfg").toStdString());
        Ipu::ProjectOptions options;
        options.SetProjectName("p");
        options.SetOutputDirectory(dir.path().toStdString());
        MessageCapture capture;
        std::unique_ptr<En::Project> project;
        if (how == "open" || how == "create")
            project = std::make_unique<En::Project>(file, how == "create");
        else if (how == "options")
            project = std::make_unique<En::Project>(options);
        else
            project = std::make_unique<En::Project>(boost::make_shared<Ipu::IPComposite>());
        QCOMPARE(project->IsEnabled(), enabled);
        QVERIFY(!project->SaveProject());
        project.reset();
        QCOMPARE(capture.textLines(), QStringList());
    }
};

QTEST_GUILESS_MAIN(tst_ProjectWithoutEngine)
#include "tst_projectwithoutengine.moc"
