#include "WindowDriver.h"

#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTreeView>

#include <algorithm>
#include <memory>
#include <vector>

#include "Gui_Clip_Mnemonics.h"
#include "Gui_Clip_ParameterDialog.h"
#include "MainWindow.h"

WindowDriver::WindowDriver(MainWindow& window) : window(window)
{
    connect(&timer, &QTimer::timeout, this, &WindowDriver::Poll);
    timer.start(10);
}

void WindowDriver::Queue(Answer answer)
{
    answers.push_back(std::make_shared<Answer>(std::move(answer)));
}

// The oldest answer that takes the widget answers it: a menu's answer is not held up by a
// message box's answer queued before it.
void WindowDriver::Poll()
{
    QWidget* widget = QApplication::activePopupWidget();
    if (widget == nullptr)
        widget = QApplication::activeModalWidget();
    if (widget == nullptr || !widget->isVisible())
        return;
    const std::vector<std::shared_ptr<Answer>> waiting(answers.begin(), answers.end());
    for (std::size_t i = 0; i < waiting.size(); ++i) {
        // Taken out while it runs: a nested event loop may poll again meanwhile.
        const auto found = std::find(answers.begin(), answers.end(), waiting[i]);
        if (found == answers.end())
            continue;
        answers.erase(found);
        if ((*waiting[i])(widget))
            return;
        answers.insert(std::next(answers.begin(), std::min(i, answers.size())), waiting[i]);
    }
}

QAction* WindowDriver::Action(const QString& name) const
{
    return window.findChild<QAction*>(name);
}

QTreeView* WindowDriver::View(const QString& name) const
{
    return window.findChild<QTreeView*>(name);
}

QModelIndex WindowDriver::Find(const QTreeView* view, const QString& text, int column,
                               const QString& second, int secondColumn) const
{
    const QAbstractItemModel* model = view->model();
    std::function<QModelIndex(const QModelIndex&)> search = [&](const QModelIndex& parent) {
        for (int row = 0; row < model->rowCount(parent); ++row) {
            const QModelIndex item = model->index(row, 0, parent);
            if (model->index(row, column, parent).data().toString() == text &&
                (second.isNull() ||
                 model->index(row, secondColumn, parent).data().toString() == second))
                return item;
            if (const QModelIndex found = search(item); found.isValid())
                return found;
        }
        return QModelIndex();
    };
    return search(QModelIndex());
}

void WindowDriver::Click(QTreeView* view, const QModelIndex& index) const
{
    view->scrollTo(index);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
}

void WindowDriver::DoubleClick(QTreeView* view, const QModelIndex& index) const
{
    view->scrollTo(index);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
}

bool WindowDriver::ChooseFromMenu(QTreeView* view, const QString& text)
{
    enum State { Waiting, Chosen, Missing };
    const auto state = std::make_shared<State>(Waiting);
    Queue([state, text](QWidget* widget) {
        auto* menu = qobject_cast<QMenu*>(widget);
        if (menu == nullptr)
            return false;
        *state = Missing;
        for (QAction* action : menu->actions()) {
            if (Gui::Clip::Mnemonics::Stripped(action->text()) == text && action->isEnabled()) {
                *state = Chosen;
                QTest::keyClick(menu, Gui::Clip::Mnemonics::KeyOf(action->text()).toLatin1());
                return true;
            }
        }
        menu->close();
        return true;
    });
    view->setFocus();
    QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(), QPoint());
    QApplication::sendEvent(view, &event);
    // No menu opened: the answer must not wait for some later one.
    if (*state == Waiting)
        answers.pop_back();
    return *state == Chosen;
}

WindowDriver::Answer WindowDriver::MessageBoxButton(int button)
{
    return [button](QWidget* widget) {
        auto* box = qobject_cast<QMessageBox*>(widget);
        if (box == nullptr || box->button(QMessageBox::StandardButton(button)) == nullptr)
            return false;
        box->button(QMessageBox::StandardButton(button))->click();
        return true;
    };
}

WindowDriver::Answer WindowDriver::ProjectFile(const QString& file)
{
    return [file](QWidget* widget) {
        auto* dialog = qobject_cast<QFileDialog*>(widget);
        if (dialog == nullptr)
            return false;
        dialog->selectFile(file);
        static_cast<QDialog*>(dialog)->accept();  // QFileDialog hides its accept()
        return true;
    };
}

WindowDriver::Answer WindowDriver::Parameters(const QString& name,
                                              const QList<QPair<QString, QString>>& values)
{
    return [name, values](QWidget* widget) {
        auto* dialog = qobject_cast<Gui::Clip::ParameterDialog*>(widget);
        if (dialog == nullptr)
            return false;
        Fill(dialog, name, values);
        QPushButton* ok = dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
        // A refused value cancels, so that the test fails on the result rather than hangs.
        ok->isEnabled() ? ok->click() : dialog->reject();
        return true;
    };
}

void WindowDriver::Fill(QWidget* dialog, const QString& name,
                        const QList<QPair<QString, QString>>& values)
{
    dialog->findChild<QLineEdit*>(QStringLiteral("componentName"))->setText(name);
    for (const auto& [parameter, value] : values) {
        QWidget* field = dialog->findChild<QWidget*>(QStringLiteral("param_") + parameter);
        if (auto* spin = qobject_cast<QSpinBox*>(field))
            spin->setValue(value.toInt());
        else if (auto* box = qobject_cast<QComboBox*>(field))
            box->setCurrentIndex(box->findData(value) >= 0 ? box->findData(value)
                                                           : box->findText(value));
        else if (auto* edit = qobject_cast<QLineEdit*>(field))
            edit->setText(value);
    }
}
