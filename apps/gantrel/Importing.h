#pragma once

#include <QObject>
#include <QString>

#include <atomic>

#include "Port_MsgManData.h"

namespace En {
class Project;
}

// Imports one customized IP file into an open project without a user at hand, and waits
// for the generation the import starts. Every message still reaches the user; errors,
// which may come from the engine's workers, are counted.
class Importing : public QObject {
public:
    Importing();
    ~Importing() override;

    // 0 when the file's IP joined the project and nothing failed, else 1.
    int Run(En::Project& project, const QString& file);

private:
    int busy = 0;
    std::atomic<int> errors{0};
    Port_MsgManData::Sink shown;
};
