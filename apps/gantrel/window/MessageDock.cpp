#include "MessageDock.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QListWidget>
#include <QScrollBar>
#include <QStyle>

#include "MessageRelay.h"

namespace {

QColor ColorOf(Port_MsgManData::Kind kind, const QPalette& palette)
{
    if (kind == Port_MsgManData::Error)
        return QColor(0xc0, 0x10, 0x10);
    if (kind == Port_MsgManData::Warning)
        return QColor(0x9a, 0x60, 0x00);
    return palette.color(QPalette::Text);
}

QIcon IconOf(Port_MsgManData::Kind kind, const QStyle* style)
{
    if (kind == Port_MsgManData::Error)
        return style->standardIcon(QStyle::SP_MessageBoxCritical);
    if (kind == Port_MsgManData::Warning)
        return style->standardIcon(QStyle::SP_MessageBoxWarning);
    return style->standardIcon(QStyle::SP_MessageBoxInformation);
}

}  // namespace

MessageDock::MessageDock(QWidget* parent)
    : QDockWidget(tr("Messages"), parent), list(new QListWidget), relay(new MessageRelay(this))
{
    setObjectName(QStringLiteral("messages"));
    list->setObjectName(QStringLiteral("messageList"));
    list->setUniformItemSizes(true);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->setWordWrap(false);
    const int line = list->fontMetrics().height();
    list->setIconSize(QSize(line, line));
    setWidget(list);
    AddMenu();
    connect(relay, &MessageRelay::Arrived, this, &MessageDock::Append);
}

MessageDock::~MessageDock() = default;

void MessageDock::AddMenu()
{
    auto* copy = new QAction(tr("&Copy"), list);
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WidgetShortcut);
    connect(copy, &QAction::triggered, this, &MessageDock::Copy);
    auto* selectAll = new QAction(tr("Select &All"), list);
    connect(selectAll, &QAction::triggered, list, &QListWidget::selectAll);
    auto* clear = new QAction(tr("C&lear"), list);
    connect(clear, &QAction::triggered, this, &MessageDock::Clear);
    list->addActions({copy, selectAll, clear});
    list->setContextMenuPolicy(Qt::ActionsContextMenu);
}

void MessageDock::Append(const std::vector<Port_MsgManData::Message>& messages)
{
    QScrollBar* scroll = list->verticalScrollBar();
    const bool atEnd = scroll->value() == scroll->maximum();
    bool error = false;
    for (const Port_MsgManData::Message& message : messages) {
        auto* item =
            new QListWidgetItem(IconOf(message.kind, style()),
                                QString::fromStdString(Port_MsgManData::formatLine(message)));
        item->setForeground(ColorOf(message.kind, palette()));
        list->addItem(item);
        error = error || message.kind == Port_MsgManData::Error;
    }
    if (list->count() > MAX_LINES)
        list->model()->removeRows(0, list->count() - MAX_LINES);
    if (atEnd)
        list->scrollToBottom();
    if (error && isHidden())
        show();
}

QStringList MessageDock::Lines() const
{
    QStringList lines;
    for (int row = 0; row < list->count(); ++row)
        lines.append(list->item(row)->text());
    return lines;
}

void MessageDock::Copy() const
{
    QStringList lines;
    for (int row = 0; row < list->count(); ++row) {
        if (list->item(row)->isSelected())
            lines.append(list->item(row)->text());
    }
    if (lines.isEmpty())
        lines = Lines();
    QApplication::clipboard()->setText(lines.isEmpty() ? QString() : lines.join(u'\n') + u'\n');
}

void MessageDock::Clear()
{
    list->clear();
}
