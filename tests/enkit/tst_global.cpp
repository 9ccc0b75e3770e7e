#include <QDesktopServices>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>

#include "En_Global.h"

// The help topics of the dialogs, shown through the embedded help.
class tst_Global : public QObject {
    Q_OBJECT

    QList<QUrl> opened;

public slots:
    void open(const QUrl& url) { opened.append(url); }

private slots:
    void init()
    {
        opened.clear();
        QDesktopServices::setUrlHandler("file", this, "open");
    }

    void cleanup()
    {
        QDesktopServices::unsetUrlHandler("file");
        qunsetenv("GANTREL_HELP_DIR");
    }

    void dialogTopicsOpenTheirPages_data()
    {
        QTest::addColumn<QString>("topic");
        QTest::addColumn<QString>("page");
        QTest::newRow("project options") << "gt-dialog-project_options"
                                         << "project_options.html";
        QTest::newRow("compatibility") << "gt-dialog-compatibility"
                                       << "compatibility.html";
    }

    void dialogTopicsOpenTheirPages()
    {
        QFETCH(QString, topic);
        QFETCH(QString, page);
        QCOMPARE(En::Global::HELP_MAP, QString("plugin_gtn.map"));
        En::Global::ShowHelpTopic(topic);
        QCOMPARE(opened.size(), 1);
        QCOMPARE(opened.first().fileName(), page);
    }

    void withoutHelpNothingHappens()
    {
        QTemporaryDir empty;
        qputenv("GANTREL_HELP_DIR", empty.path().toUtf8());
        En::Global::ShowHelpTopic("gt-dialog-project_options");
        QVERIFY(opened.isEmpty());
    }
};

QTEST_MAIN(tst_Global)
#include "tst_global.moc"
