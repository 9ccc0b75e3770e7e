#pragma once

#include <QDialog>
#include <QHash>
#include <QMetaType>
#include <QString>

#include <memory>

#include "En_Ip.h"
#include "Ipu_PelPart.h"

class QListWidget;
class QListWidgetItem;

namespace Ui {
class CompatibilityUi;
}

namespace En {

// Lists every part an IP supports, narrowed by family, device and package filters, and
// makes a listed part the open project's part. GUI thread only; the action manager's lock
// signal hides the button that changes the part while a task holds the lock.
class CompatibilityDlg : public QDialog {
    Q_OBJECT

public:
    explicit CompatibilityDlg(QWidget* parent = nullptr);
    ~CompatibilityDlg() override;

public slots:
    void setName(const QString& name);
    // Replaces the lists; every part of the list is shown.
    void setData(const Ipu::PelPartList& parts);
    // The IP's name and the parts it supports; a failed query leaves the lists as they were.
    void setIP(const En::Ip& ip);
    void setCannotChangePart(bool cannot);
    // Makes the selected part the project's part.
    void setPartType();
    void Help();
    void CompatibleLWChanged(QListWidgetItem* current, QListWidgetItem* previous);
    void FamilyFilterChanged();
    void DeviceFilterChanged();
    void PackageFilterChanged();
    void updatePart();

private:
    void ShowPart(const Ipu::PelPart& part, bool visible);
    void ApplyPartFilter(int lists);
    QString CurrentPrefix() const;

    Ipu::PelPartList parts;
    QHash<QString, Ipu::PelPart> partIndex;
    std::unique_ptr<Ui::CompatibilityUi> ui;
};

}  // namespace En

Q_DECLARE_METATYPE(Ipu::PelPartList)
