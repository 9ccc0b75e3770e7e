#include "Gui_Clip_DialogCustomizer.h"

#include "Gui_Clip_ParameterDialog.h"
#include "Ipu_ElementIndex.h"

#include <QApplication>
#include <QMetaObject>
#include <QThread>

#include <boost/pointer_cast.hpp>

#include <mutex>

namespace Gui {
namespace Clip {

namespace {

// The catalogue entry's values; a component whose entry is not loaded has only its own.
Ipu::Parameters DefaultsOf(const Ipu::IPComponent& component)
{
    const auto entry = boost::dynamic_pointer_cast<Ipu::IPComponent>(
        Ipu::ElementIndex::GetElement(component.GetUnconfiguredID()));
    return entry ? entry->GetParameters() : component.GetParameters();
}

// GUI thread only.
bool RunDialog(Ipu::IPComponent& component, const std::vector<Port::String>& takenNames)
{
    ParameterDialog dialog(component, DefaultsOf(component), takenNames,
                           QApplication::activeWindow());
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    component.SetName(dialog.GetComponentName());
    for (const Ipu::Parameters::Parameter& parameter : dialog.GetParameters()) {
        component.GetParameters().SetValue(parameter.name, parameter.value);
    }
    return true;
}

}  // namespace

bool DialogCustomizer::Customize(Ipu::IPComponent& component, const Ipu::ProjectOptions&,
                                 const std::vector<Port::String>& takenNames)
{
    QCoreApplication* application = QApplication::instance();
    if (qobject_cast<QApplication*>(application) == nullptr) {
        qWarning("DialogCustomizer: no QApplication to show the parameter dialog; not customized");
        return false;
    }
    if (QThread::currentThread() == application->thread()) {
        return RunDialog(component, takenNames);
    }
    // Qt's blocking call orders the two threads already, but inside Qt where ThreadSanitizer
    // cannot see; taking this mutex on both sides states that order where it can.
    std::mutex handoff;
    bool accepted = false;
    handoff.lock();
    handoff.unlock();
    QMetaObject::invokeMethod(
        application,
        [&] {
            std::lock_guard<std::mutex> lock(handoff);
            accepted = RunDialog(component, takenNames);
        },
        Qt::BlockingQueuedConnection);
    std::lock_guard<std::mutex> lock(handoff);
    return accepted;
}

}  // namespace Clip
}  // namespace Gui
