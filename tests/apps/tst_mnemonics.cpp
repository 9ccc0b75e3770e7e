#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QStackedWidget>
#include <QTabBar>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <QtTest>

#include <boost/pointer_cast.hpp>
#include <functional>
#include <memory>

#include "ActionMenu.h"
#include "En_ActionManager.h"
#include "En_CompatibilityDlg.h"
#include "En_Project.h"
#include "En_ProjectManager.h"
#include "En_ProjectOptionsDlg.h"
#include "Gui_Clip_Mnemonics.h"
#include "Gui_Clip_ParameterDialog.h"
#include "Ipu_ElementIndex.h"
#include "Ipu_IPComponent.h"
#include "MainWindow.h"
#include "Sim_Utility.h"
#include "TestCatalog.h"
#include "WindowEnvironment.h"
#include "WindowSession.h"

namespace {

// The texts that carry a mnemonic, by key, for widgets a user sees at the same time.
using Group = QMultiMap<QChar, QString>;

void Note(const QString& text, Group& group)
{
    const QChar key = Gui::Clip::Mnemonics::KeyOf(text);
    if (!key.isNull())
        group.insert(key, text);
}

void NoteOwn(QWidget* widget, Group& group)
{
    if (auto* label = qobject_cast<QLabel*>(widget))
        Note(label->text(), group);
    else if (auto* button = qobject_cast<QAbstractButton*>(widget))
        Note(button->text(), group);
    else if (auto* box = qobject_cast<QGroupBox*>(widget))
        Note(box->title(), group);
    else if (auto* tabs = qobject_cast<QTabBar*>(widget))
        for (int i = 0; i < tabs->count(); ++i)
            Note(tabs->tabText(i), group);
    else if (auto* bar = qobject_cast<QMenuBar*>(widget))
        for (const QAction* action : bar->actions())
            Note(action->text(), group);
}

// Walks widget's subtree (hidden widgets and other windows left out): always collects what
// shows whatever page a stack is on, pages one group per page of every stack met.
void Collect(QWidget* widget, Group& always, QList<Group>& pages)
{
    for (QObject* object : widget->children()) {
        auto* child = qobject_cast<QWidget*>(object);
        if (child == nullptr || child->isWindow() || child->isHidden())
            continue;
        NoteOwn(child, always);
        auto* stack = qobject_cast<QStackedWidget*>(child);
        if (stack == nullptr) {
            Collect(child, always, pages);
            continue;
        }
        for (int i = 0; i < stack->count(); ++i) {
            Group page;
            QList<Group> nested;
            NoteOwn(stack->widget(i), page);
            Collect(stack->widget(i), page, nested);
            pages.append(page);
            for (const Group& inner : nested)
                pages.append(page + inner);
        }
    }
}

QList<Group> GroupsOf(QWidget* window)
{
    Group always;
    QList<Group> pages;
    Collect(window, always, pages);
    if (pages.isEmpty())
        return {always};
    QList<Group> groups;
    for (const Group& page : pages)
        groups.append(always + page);
    return groups;
}

QList<Group> GroupsOf(const QMenu& menu)
{
    Group group;
    for (const QAction* action : menu.actions()) {
        if (action->isVisible() && !action->isSeparator())
            Note(action->text(), group);
    }
    return {group};
}

// "a: &Alpha, &apple" for every key two texts of one group share.
QStringList Clashes(const QList<Group>& groups)
{
    QStringList clashes;
    for (const Group& group : groups) {
        for (const QChar key : group.uniqueKeys()) {
            if (group.count(key) > 1) {
                QStringList texts = group.values(key);
                texts.sort();
                clashes.append(QString(key) + ": " + texts.join(", "));
            }
        }
    }
    clashes.removeDuplicates();
    return clashes;
}

int Count(const QList<Group>& groups)
{
    int count = 0;
    for (const Group& group : groups)
        count = std::max(count, int(group.size()));
    return count;
}

std::vector<boost::shared_ptr<Ipu::IPComponent>> CatalogueIps()
{
    std::vector<boost::shared_ptr<Ipu::IPComponent>> ips;
    for (const auto& element : Ipu::ElementIndex::GetElements()) {
        auto component = boost::dynamic_pointer_cast<Ipu::IPComponent>(element);
        if (component && !component->IsCustomized())
            ips.push_back(component);
    }
    return ips;
}

QString KeyOf(const boost::shared_ptr<Ipu::IPComponent>& component)
{
    return Sim::Utility::PortStringToQString(component->GetKey());
}

// A widget of labels; "|" separates the pages of a stack below them, "-" marks a hidden one.
std::unique_ptr<QWidget> Sample(const QString& layout)
{
    auto root = std::make_unique<QWidget>();
    auto* column = new QVBoxLayout(root.get());
    const QStringList parts = layout.split(u'|');
    for (const QString& text : parts.first().split(u' ', Qt::SkipEmptyParts)) {
        auto* label = new QLabel(QString(text).remove(u'-'));
        label->setHidden(text.startsWith(u'-'));
        column->addWidget(label);
    }
    if (parts.size() > 1) {
        auto* stack = new QStackedWidget;
        for (const QString& page : parts.mid(1))
            stack->addWidget(new QLabel(page.trimmed()));
        column->addWidget(stack);
    }
    return root;
}

}  // namespace

class tst_Mnemonics : public QObject {
    Q_OBJECT

    std::unique_ptr<WindowEnvironment> environment;
    QTemporaryDir dir;
    std::unique_ptr<MainWindow> window;

    // The groups of the place a row names, and how many mnemonics it has at least.
    QList<Group> GroupsOfPlace(const QString& place, int& atLeast)
    {
        const QString kind = place.section(u':', 0, 0);
        const QString name = place.section(u':', 1);
        atLeast = 0;
        if (kind == "sample")
            return GroupsOf(Sample(name).get());
        if (kind == "window") {
            atLeast = 6;  // File, View, Help, the catalogue, its search, the project
            return GroupsOf(window.get());
        }
        if (kind == "menu") {
            auto* menu = window->findChild<QMenu*>(name);
            emit menu->aboutToShow();
            atLeast = menu->actions().size() > 1 ? 2 : 0;
            return GroupsOf(*menu);
        }
        if (kind == "messages") {
            QMenu menu;
            menu.addActions(window->findChild<QListWidget*>("messageList")->actions());
            atLeast = 3;
            return GroupsOf(menu);
        }
        En::ActionManager* actions = En::ActionManager::GetInstance();
        En::Project& project = *En::ProjectManager::GetInstance()->GetProject();
        if (kind == "project") {
            ActionMenu menu(actions->GetActionList(project), {}, nullptr);
            atLeast = 2;
            return GroupsOf(menu);
        }
        if (kind == "options") {
            En::ProjectOptionsDlg dialog(name == "read-only");
            dialog.SetProjectOptions(*En::ProjectManager::GetInstance()->GetProjectOptions());
            atLeast = 4;
            return GroupsOf(&dialog);
        }
        const auto component = boost::dynamic_pointer_cast<Ipu::IPComponent>(
            Ipu::ElementIndex::GetElement(Sim::Utility::QStringToPortString(name)));
        if (kind == "compatibility") {
            En::CompatibilityDlg dialog;
            dialog.setIP(En::Ip(component));
            atLeast = 3;
            return GroupsOf(&dialog);
        }
        if (kind == "dialog") {
            Gui::Clip::ParameterDialog dialog(*component, component->GetParameters());
            atLeast = 2;  // the name and Defaults, whatever the parameters
            return GroupsOf(&dialog);
        }
        En::Ip ip(kind == "member"
                      ? project.AddIP(En::Ip(TestCatalog::customize(component, "member")))
                      : component);
        ActionMenu menu(actions->GetActionList(ip), actions->GetInformationActionsList(ip),
                        actions->GetDefaultAction(ip));
        atLeast = menu.actions().size() > 1 ? 2 : 0;
        return GroupsOf(menu);
    }

private slots:
    void initTestCase()
    {
        environment = std::make_unique<WindowEnvironment>();
        window = std::make_unique<MainWindow>();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QTRY_VERIFY_WITH_TIMEOUT(WindowSession::CatalogueLoaded(), 20000);
        // Two recent projects, the second left open for the project's own menus.
        En::ProjectManager* projects = En::ProjectManager::GetInstance();
        for (const char* name : {"first/one.gtcfg", "second/two.gtcfg"})
            QCOMPARE(projects->NewProject(Sim::Utility::QStringToPortString(dir.filePath(name))),
                     0u);
    }

    // Each row is one window, dialog or menu; "sample" rows check the checker itself. The
    // options dialog shows one page of its stack at a time; each counts with the rest.
    void uniqueWhereShownTogether_data()
    {
        QTest::addColumn<QString>("place");
        QTest::addColumn<QStringList>("clashes");
        QTest::newRow("sample: letter case is one key")
            << "sample:&Alpha &apple" << QStringList{"a: &Alpha, &apple"};
        QTest::newRow("sample: pages of a stack apart")
            << "sample:&Save | &Next | &None" << QStringList{};
        QTest::newRow("sample: a page with what is always shown")
            << "sample:&Name | &Other | &nope" << QStringList{"n: &Name, &nope"};
        QTest::newRow("sample: hidden widgets left out") << "sample:&Name -&Next" << QStringList{};
        QTest::newRow("sample: a literal ampersand is no key")
            << "sample:&Save S&&ave" << QStringList{};
        QTest::newRow("main window") << "window:" << QStringList{};
        for (const char* menu : {"fileMenu", "recentMenu", "viewMenu", "helpMenu"})
            QTest::newRow(menu) << QString("menu:") + menu << QStringList{};
        QTest::newRow("message list menu") << "messages:" << QStringList{};
        QTest::newRow("project menu") << "project:" << QStringList{};
        QTest::newRow("project options dialog") << "options:" << QStringList{};
        QTest::newRow("project options dialog, read-only") << "options:read-only" << QStringList{};
        for (const auto& component : CatalogueIps()) {
            const QString key = KeyOf(component);
            QTest::addRow("catalogue IP menu %s", qPrintable(key)) << "ip:" + key << QStringList{};
            QTest::addRow("project IP menu %s", qPrintable(key))
                << "member:" + key << QStringList{};
            QTest::addRow("parameter dialog %s", qPrintable(key))
                << "dialog:" + key << QStringList{};
            QTest::addRow("compatibility dialog %s", qPrintable(key))
                << "compatibility:" + key << QStringList{};
        }
    }

    void uniqueWhereShownTogether()
    {
        QFETCH(QString, place);
        QFETCH(QStringList, clashes);
        int atLeast = 0;
        const QList<Group> groups = GroupsOfPlace(place, atLeast);
        QCOMPARE(Clashes(groups), clashes);
        QVERIFY2(
            Count(groups) >= atLeast,
            qPrintable(QString("only %1 mnemonics, expected %2").arg(Count(groups)).arg(atLeast)));
    }
};

QTEST_MAIN(tst_Mnemonics)
#include "tst_mnemonics.moc"
