#pragma once

#include <QThread>

namespace En {

// Loads the engine's device-family cache in the background, so that an interactive start
// does not wait for it. The project manager starts the one process-wide instance.
class FamilySupportThread : public QThread {
    Q_OBJECT

public:
    FamilySupportThread();
    ~FamilySupportThread() override;

protected:
    void run() override;
};

}  // namespace En
