#pragma once

#include <QObject>

#include "En_EngineEventDetails.h"
#include "Ipu_DefaultEngineNotify.h"

namespace En {

// Receives the engine's events on the engine's threads and re-emits each as a signal; the
// action manager's automatic connection queues them to the GUI thread. Registered with the
// engine-notify manager for its whole life.
class EngineCallback : public QObject, public Ipu::DefaultEngineNotify {
    Q_OBJECT

public:
    EngineCallback();
    ~EngineCallback() override;

    bool EventNotify(Ipu::Event& event) override;

signals:
    void EngineEvent(const EngineEventDetails& details);
};

}  // namespace En
