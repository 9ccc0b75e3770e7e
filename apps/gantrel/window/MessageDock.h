#pragma once

#include <QDockWidget>
#include <QStringList>

#include <vector>

#include "Port_MsgManData.h"

class QListWidget;
class MessageRelay;

// The product's messages as they come, one line each as on stderr ("ERROR:enkit:En_Project
// - text"), errors in red and warnings in amber. An error shows the dock if it was hidden.
// Copy takes the selected lines, or every line when none is selected, to the clipboard.
class MessageDock : public QDockWidget {
    Q_OBJECT

public:
    explicit MessageDock(QWidget* parent = nullptr);
    ~MessageDock() override;
    Q_DISABLE_COPY(MessageDock)

    void Append(const std::vector<Port_MsgManData::Message>& messages);
    QStringList Lines() const;
    void Copy() const;
    void Clear();

    // A day's session keeps its latest lines; the oldest go first.
    static constexpr int MAX_LINES = 20000;

private:
    void AddMenu();

    QListWidget* list;
    MessageRelay* relay;
};
