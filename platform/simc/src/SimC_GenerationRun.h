#pragma once

#include "Ipu_Generator.h"
#include "Ipu_IPComponent.h"
#include "Ipu_ProjectOptions.h"
#include "Ipu_Status.h"
#include "Ipu_Task.h"
#include "Port_StringBase.h"

#include <QString>

#include <boost/shared_ptr.hpp>

#include <memory>
#include <vector>

namespace SimC {

class Products;

// One run of a generator chain's steps on one IP, on a worker thread. The run works on its
// own copy of the IP and writes its products under the project's temporary directory; only
// when every step has succeeded are they moved into the output directory and the copy
// taken into the design, so a failed or cancelled run leaves products and project as they
// were.
class GenerationRun {
public:
    struct Setup {
        // The IP as the caller knows it, reported when the run fails.
        boost::shared_ptr<Ipu::IPComponent> original;
        // The run's own copy, which customization and upgrade change.
        boost::shared_ptr<Ipu::IPComponent> component;
        Ipu::ProjectOptions options;
        // The open design the IP belongs to (or is customized for); empty for none.
        Port::String designId;
        Port::String projectFile;
        // Absolute.
        QString outputDirectory;
        // Names the IP may not take: the design's IPs of another catalogue IP.
        std::vector<Port::String> takenNames;
        std::vector<boost::shared_ptr<Ipu::Generator>> steps;
        // Reported with every event; carries the generation id.
        Ipu::Task task;
    };

    static constexpr unsigned FAILED = 1;
    static constexpr unsigned CANCELLED = 2;

    explicit GenerationRun(Setup setup);
    ~GenerationRun();

    // Runs the steps in order, reporting each as a step event; stops at the first failure,
    // and between steps once the run is cancelled. 0, FAILED or CANCELLED, with the reason.
    Ipu::Status Execute();
    // The design's member after a run that changed it; the IP as given otherwise.
    boost::shared_ptr<Ipu::IPComponent> Result() const { return result; }
    Port::String Name() const { return setup.original->GetName(); }
    // Tells the user how a run that did not succeed ended, naming the IP.
    void TellEnd(const Ipu::Status& status) const;

private:
    unsigned RunStep(const Port::String& kind, QString& reason);
    Products& Writer();
    unsigned Customize(QString& reason);
    unsigned Validate(QString& reason);
    unsigned Upgrade(QString& reason);
    unsigned MoveOut(QString& reason);
    unsigned OpenDataSheet(QString& reason);
    unsigned Open(const Port::String& path, QString& reason);
    unsigned Commit(QString& reason);
    void Report(const char* message) const;
    bool Cancelled() const;
    bool AsksUser() const;

    Setup setup;
    QString staging;
    bool ownsTemporary = false;
    std::unique_ptr<Products> products;
    boost::shared_ptr<Ipu::IPComponent> result;
};

}  // namespace SimC
