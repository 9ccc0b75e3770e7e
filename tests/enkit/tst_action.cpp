#include <QMetaMethod>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include "En_Action.h"
#include "En_Ip.h"
#include "En_Project.h"
#include "Ipu_GeneratorChain.h"
#include "Ipu_IPComponent.h"
#include "Ipu_IPComposite.h"
#include "Ipu_Task.h"
#include "TestCatalog.h"
#include "TestEnvironment.h"

using TestCatalog::Component;

class tst_Action : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnvironment> environment;
    QTemporaryDir dir;

    static Ipu::Task generateTask()
    {
        return Ipu::Task(Ipu::Task::GENERATE, "Generate", true, 0, 0, 0);
    }

private slots:
    void initTestCase() { environment = std::make_unique<TestEnvironment>(); }

    void metaObject_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QByteArray>("signature");
        QTest::addColumn<QByteArrayList>("parameters");
        QTest::newRow("project signal")
            << 0 << int(QMetaMethod::Signal)
            << QByteArray("triggered(En::Project&,Ipu::Task&,Ipu::Status&)")
            << QByteArrayList{"project", "", ""};
        QTest::newRow("ip signal") << 1 << int(QMetaMethod::Signal)
                                   << QByteArray("triggered(En::Ip&,Ipu::Task&,Ipu::Status&)")
                                   << QByteArrayList{"ip", "", ""};
        QTest::newRow("slot") << 2 << int(QMetaMethod::Slot) << QByteArray("slotTriggered()")
                              << QByteArrayList{};
    }

    void metaObject()
    {
        QFETCH(int, index);
        QFETCH(int, kind);
        QFETCH(QByteArray, signature);
        QFETCH(QByteArrayList, parameters);
        const QMetaObject& meta = En::Action::staticMetaObject;
        QCOMPARE(meta.className(), "En::Action");
        QCOMPARE(meta.methodCount() - meta.methodOffset(), 3);
        const QMetaMethod method = meta.method(meta.methodOffset() + index);
        QCOMPARE(int(method.methodType()), kind);
        QCOMPARE(method.methodSignature(), signature);
        QCOMPARE(method.parameterNames(), parameters);
    }

    // The element decides which typed signal a trigger emits; an icon action emits none.
    void triggerFollowsTheElement_data()
    {
        QTest::addColumn<QString>("element");
        QTest::addColumn<int>("projectSignals");
        QTest::addColumn<int>("ipSignals");
        QTest::newRow("component") << "component" << 0 << 1;
        QTest::newRow("design") << "design" << 1 << 0;
        QTest::newRow("neither") << "none" << 0 << 0;
        QTest::newRow("icon and text") << "icon" << 0 << 0;
    }

    void triggerFollowsTheElement()
    {
        QFETCH(QString, element);
        QFETCH(int, projectSignals);
        QFETCH(int, ipSignals);
        const boost::shared_ptr<Ipu::GeneratorChain> chain(new Ipu::GeneratorChain);
        boost::shared_ptr<Ipu::IPBase> base;
        En::Project project(Port::FileName(dir.filePath("p.gtcfg").toStdString()), true);
        if (element == "component")
            base = TestCatalog::load(Component("trigger"));
        else if (element == "design")
            base = project.GetIPComposite();
        std::unique_ptr<En::Action> action(element == "icon"
                                               ? new En::Action(QIcon(), "Plain", nullptr)
                                               : new En::Action(base, chain, nullptr));
        QSignalSpy plain(action.get(), &QAction::triggered);
        int onProject = 0;
        int onIp = 0;
        connect(action.get(),
                qOverload<En::Project&, Ipu::Task&, Ipu::Status&>(&En::Action::triggered), this,
                [&] { ++onProject; });
        connect(action.get(), qOverload<En::Ip&, Ipu::Task&, Ipu::Status&>(&En::Action::triggered),
                this, [&] { ++onIp; });
        action->trigger();
        QCOMPARE(plain.count(), 1);
        QCOMPARE(onProject, projectSignals);
        QCOMPARE(onIp, ipSignals);
        QCOMPARE(action->task() != nullptr, element != "icon");
    }

    void visibleNameLeavesTheText()
    {
        En::Ip ip(TestCatalog::load(Component("fifo")));
        En::Action action(ip, generateTask(), nullptr);
        QCOMPARE(action.text(), QString("Generate"));
        QCOMPARE(action.internalName(), QString(Ipu::Task::GENERATE));
        action.setVisibleName("Build");
        QCOMPARE(action.visibleName(), QString("Build"));
        QCOMPARE(action.text(), QString("Generate"));
    }

    // Destroying an action must not close the design of the project it was made for.
    void projectStaysOpenAfterItsAction()
    {
        En::Project project(Port::FileName(dir.filePath("open.gtcfg").toStdString()), true);
        delete new En::Action(project, generateTask(), nullptr);
        QVERIFY(project.SaveProject());
    }
};

QTEST_MAIN(tst_Action)
#include "tst_action.moc"
