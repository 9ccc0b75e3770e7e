#pragma once

#include "Ipu_IPComponent.h"
#include "Ipu_Parameters.h"
#include "Ipu_ProjectOptions.h"
#include "Ipu_RuntimeOptions.h"
#include "Sim_Command.h"

#include <boost/shared_ptr.hpp>

#include <memory>
#include <vector>

namespace Sim {

// Runs batch commands against the engine: SET changes the executor's project options,
// SELECT picks a catalogue IP, CSET names it or sets one of its parameters, GENERATE
// customizes and generates it through the engine component and waits for the run's end,
// NEWPROJECT and SETPROJECT create or open a design. A refused command changes nothing and
// is reported with its file, line and reason.
//
// Derived executors take over commands by overriding ExecuteCmd; they may replace the
// project and runtime options the executor works with.
class CommandExecutor {
public:
    explicit CommandExecutor(const Ipu::RuntimeOptions& options);
    CommandExecutor(const CommandExecutor& other);
    CommandExecutor& operator=(const CommandExecutor& other);
    virtual ~CommandExecutor();

    // Runs the commands in order through ExecuteCmd, passing both flags on, and stops at
    // the first that fails: its status, 0 when every command succeeded. With first (read
    // only) the commands only build the selection, its values and the options, as reading
    // a customized IP file needs: GENERATE checks that an IP is selected, and NEWPROJECT
    // and SETPROJECT do nothing. second is for derived executors (see En::CommandExecutor).
    unsigned Execute(const std::vector<Command>& commands, bool first, bool second);
    // One command; 0 on success.
    virtual unsigned ExecuteCmd(const Command& command, bool first, bool second);

    // The options of the project the commands run in, taken as the starting point.
    void SetExternalProjectOptions(const Ipu::ProjectOptions& options);
    // The IP selected and being customized; null before a SELECT.
    boost::shared_ptr<Ipu::IPComponent> GetIPComponent() const { return selected; }
    // Its parameters as the CSET commands left them; empty before a SELECT.
    Ipu::Parameters GetParameters() const;
    const Ipu::ProjectOptions& GetProjectOptions() const { return *projectOptions; }

protected:
    Ipu::ProjectOptions& ProjectOptions() { return *projectOptions; }
    const Ipu::RuntimeOptions& RuntimeOptions() const { return *runtimeOptions; }
    void ReplaceProjectOptions(const Ipu::ProjectOptions& options);
    void ReplaceRuntimeOptions(const Ipu::RuntimeOptions& options);

private:
    unsigned ReadOnly(const Command& command);
    unsigned Set(const Command& command);
    unsigned Select(const Command& command);
    unsigned Cset(const Command& command);
    unsigned Generate(const Command& command);
    unsigned OpenDesign(const Command& command);

    std::unique_ptr<Ipu::ProjectOptions> projectOptions;
    std::unique_ptr<Ipu::RuntimeOptions> runtimeOptions;
    boost::shared_ptr<Ipu::IPComponent> selected;
};

}  // namespace Sim
