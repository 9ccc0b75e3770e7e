#pragma once

#include <QModelIndex>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <list>
#include <memory>

class MainWindow;
class QAction;
class QTreeView;

// Plays the user of the main window: clicks its views, opens context menus from the
// keyboard, and answers the dialogs and menus the window opens from the event loop (so an
// answer also reaches a dialog that a worker thread asked for). Each widget gets the oldest
// queued answer that takes it.
class WindowDriver : public QObject {
    Q_OBJECT

public:
    // Given the active popup or modal widget; true when it answered it.
    using Answer = std::function<bool(QWidget* widget)>;

    explicit WindowDriver(MainWindow& window);

    void Queue(Answer answer);
    // Answers still waiting for their dialog.
    int Pending() const { return int(answers.size()); }

    QAction* Action(const QString& name) const;
    QTreeView* View(const QString& name) const;
    // The first row of the view whose column holds text (and, when given, whose second
    // column holds second); invalid when none does.
    QModelIndex Find(const QTreeView* view, const QString& text, int column = 0,
                     const QString& second = {}, int secondColumn = 1) const;
    void Click(QTreeView* view, const QModelIndex& index) const;
    void DoubleClick(QTreeView* view, const QModelIndex& index) const;
    // Opens the context menu of the view's current item as the Menu key does and picks the
    // entry with this text (mnemonic aside) by its mnemonic; false when there is none.
    bool ChooseFromMenu(QTreeView* view, const QString& text);

    // Answers for QMessageBox (the button), the window's file dialog (the file) and the
    // parameter dialog (the component name, then parameter name and value pairs; a choice
    // by its value or its label).
    static Answer MessageBoxButton(int button);
    static Answer ProjectFile(const QString& file);
    static Answer Parameters(const QString& name, const QList<QPair<QString, QString>>& values);
    // Types the name and values into the parameter dialog without closing it.
    static void Fill(QWidget* parameterDialog, const QString& name,
                     const QList<QPair<QString, QString>>& values);

private:
    void Poll();

    MainWindow& window;
    std::list<std::shared_ptr<Answer>> answers;
    QTimer timer;
};
